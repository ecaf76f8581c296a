#include "common/platform/fake/fakeplatform.h"

namespace velk {

namespace {
template <typename T> std::optional<T> takeFront(std::deque<T>& queue)
{
    if (queue.empty()) {
        return std::nullopt;
    }
    T front = queue.front();
    queue.pop_front();
    return front;
}

// A queued answer may itself be a cancel, and an empty queue cancels too. Only a real answer is
// moved out, so no optional of an optional is ever copied.
std::optional<QString> takeAnswer(std::deque<std::optional<QString>>& queue)
{
    if (queue.empty()) {
        return std::nullopt;
    }
    std::optional<QString> answer;
    if (queue.front()) {
        answer = std::move(*queue.front());
    }
    queue.pop_front();
    return answer;
}
} // namespace

MessageAnswer FakePrompter::message(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons)
{
    messages.push_back({text, title, icon, buttons});
    const auto answer = takeFront(messageAnswers);
    if (answer) {
        return *answer;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::optional<QString> FakePrompter::input(const QString& prompt, const QString& title,
                                           const QString& initial)
{
    inputs.push_back({prompt, title, initial});
    return takeAnswer(inputAnswers);
}

std::optional<QString> FakePrompter::openFile(const FileDialogRequest& request)
{
    fileDialogs.push_back(request);
    return takeAnswer(fileAnswers);
}

std::optional<QString> FakePrompter::saveFile(const FileDialogRequest& request)
{
    return openFile(request);
}

std::uint32_t FakePrompter::chooseColour(std::uint32_t initial)
{
    return takeFront(colourAnswers).value_or(initial);
}

QStringList FakePrompter::messageTitles() const
{
    QStringList titles;
    for (const auto& shown : messages) {
        titles << shown.title;
    }
    return titles;
}

FakeClock::FakeClock() : m_local(QDate(2026, 1, 10), QTime(13, 4, 31)) {}

void FakeClock::advanceMs(std::int64_t ms)
{
    m_tick += ms;
    m_local = m_local.addMSecs(ms);
}

std::optional<QString> FakeSettingsStore::value(const QString& key) const
{
    const auto found = values.constFind(key);
    if (found == values.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

} // namespace velk
