// The quiz script of a produced site: the quiz as script data (feedback
// messages and one record per question) and every function that runs the
// quiz in the student's browser.
#pragma once

#include <string>

namespace tavimor {

class TQuestList;
class TQuestViews;

class TJSM {
public:
    // The whole script text for the document, as the site's file holds it
    // (CR LF line breaks). useCertainty is the document's certainty
    // option; resumBody is the page-texts body shown in the editor, written as
    // the script's summary text.
    std::string MakeScript(const TQuestList& quests, bool useCertainty, const std::string& resumBody) const;
    std::string MakeScript(const TQuestViews& quests, bool useCertainty, const std::string& resumBody) const;

    // The same script stored at path as a page of the site (CR LF line
    // breaks), written while it is built so that it is never whole in memory.
    // File errors as SavePage.
    void WriteScript(
        const std::string& path, const TQuestList& quests, bool useCertainty, const std::string& resumBody) const;
    void WriteScript(
        const std::string& path, const TQuestViews& quests, bool useCertainty, const std::string& resumBody) const;
};

} // namespace tavimor
