// The HTML that the image and link insertion dialogs hand to the author: the
// image tag, the picture path relative to a start folder, the quoted link
// address with its frame target, and the two captions of a message's attached
// file from which the link dialog is seeded and into which its answer goes.
//
// Tag and caption texts are Windows-1252. Folders are the file system's own
// paths and end with their separator.
#pragma once

#include <string>
#include <string_view>

namespace tavimor {

// The parts of an image tag, as the author chose or typed them. Only the
// source and the alternative text are quoted; nothing is escaped.
struct TImageTagParts {
    std::string OutPath; // put before ImgName, e.g. "../"
    std::string ImgName; // picture path relative to the start folder, then the file name
    std::string Border; // "0" or "1"
    std::string Width;
    std::string Height;
    std::string HSpace;
    std::string VSpace;
    std::string Align; // empty, "LEFT" or "RIGHT"
    std::string Alt;
};

// <IMG SRC="outPath+imgName" BORDER=b[ WIDTH=..][ HEIGHT=..][ HSPACE=..][ VSPACE=..][ ALIGN=..][ ALT=".."]>
// where each optional part is written only when its value is not empty.
std::string ImageTag(const TImageTagParts& parts);

// Each component of rest that ends with separator, written with "/" instead;
// text after the last separator is dropped.
std::string ConvertSlash(std::string_view rest, char separator);

// The path from startFolder to pictureFolder, with "/" and a final "/": the
// leading components common to both (compared case-sensitively) are dropped,
// each component left in startFolder climbs with "../", then the rest of
// pictureFolder follows. Both folders end with separator.
std::string FixRelPath(std::string_view pictureFolder, std::string_view startFolder, char separator = '/');

// Empty when the picture lies in the start folder itself (same spelling),
// else FixRelPath.
std::string RelativeImageFolder(std::string_view pictureFolder, std::string_view startFolder, char separator = '/');

// The link address: the file name in double quotes, then, when the target
// holds more than blanks, " TARGET=" and the target in double quotes.
std::string LinkAddress(std::string_view fileName, std::string_view target);

// What the link dialog shows when it is opened for a message's attached file.
struct TLinkSeed {
    std::string LinkText; // text after the first "|" of the check box caption, or "nom_du_lien"
    std::string Target; // the button's target without double quotes, or " " when it has none
    std::string FileName; // the button caption before " TARGET=", without double quotes
};

// The attached file's check box caption is lead-in + "|" + link text; the
// button caption is the link address (LinkAddress) or a caption of its own.
TLinkSeed LinkSeedFromCaptions(std::string_view checkCaption, std::string_view buttonCaption);

// The check box caption after the dialog: its lead-in (all of it when it
// holds no "|") + "|" + linkText.
std::string CheckCaptionWithLinkText(std::string_view checkCaption, std::string_view linkText);

} // namespace tavimor
