#include "app/SessionBridge.h"

namespace tavimor {

TSessionBridge::TSessionBridge(QuizSession& session, QObject* parent)
    : QObject(parent)
    , session_(session)
{
    session_.AddListener(*this);
}

TSessionBridge::~TSessionBridge()
{
    session_.RemoveListener(*this);
}

void TSessionBridge::AddScreenStore(std::function<void()> store)
{
    stores_.push_back(std::move(store));
}

void TSessionBridge::StoreScreen()
{
    for (const auto& store : stores_)
        store();
}

void TSessionBridge::DocumentChanged(const SessionChange& change)
{
    using Part = SessionChange::Part;
    switch (change.What) {
    case Part::Document:
        emit documentReplaced();
        break;
    case Part::Question:
        emit questionChanged(change.Index);
        break;
    case Part::QuestionList:
        emit questionListChanged(change.Index);
        break;
    case Part::Header:
        emit headerChanged();
        break;
    case Part::Messages:
        emit messagesChanged(change.Index);
        break;
    case Part::Pages:
        emit pageChanged(change.Index);
        break;
    case Part::Layout:
        emit layoutChanged();
        break;
    case Part::Style:
        emit styleChanged();
        break;
    }
}

void TSessionBridge::StateChanged()
{
    emit stateChanged();
}

} // namespace tavimor
