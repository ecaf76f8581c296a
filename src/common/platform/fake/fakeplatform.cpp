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
    const auto answer = takeFront(inputAnswers);
    return answer ? *answer : std::nullopt;
}

std::optional<QString> FakePrompter::openFile(const FileDialogRequest& request)
{
    fileDialogs.push_back(request);
    const auto answer = takeFront(fileAnswers);
    return answer ? *answer : std::nullopt;
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
