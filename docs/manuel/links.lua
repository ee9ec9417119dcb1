-- Links between the manual's Markdown pages ("style.md#couleurs") point at
-- the HTML pages made from them ("style.html#couleurs"); addresses with a
-- scheme (https:, mailto:) are left alone.
function Link(link)
  local target = link.target
  if not target:match("^%a[%w+.-]*:") then
    local path, rest = target:match("^([^#?]+)%.md([#?]?.*)$")
    if path then
      link.target = path .. ".html" .. rest
    end
  end
  return link
end
