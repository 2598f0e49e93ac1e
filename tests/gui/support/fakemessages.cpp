#include "fakemessages.h"

namespace setforge {

FakeMessages::FakeMessages()
{
    MessageService::setInstance(this);
}

FakeMessages::~FakeMessages()
{
    MessageService::setInstance(nullptr);
}

void FakeMessages::error(QWidget*, const QString& text)
{
    m_messages.push_back({Kind::Error, text});
}

void FakeMessages::warning(QWidget*, const QString& text)
{
    m_messages.push_back({Kind::Warning, text});
}

void FakeMessages::information(QWidget*, const QString& text)
{
    m_messages.push_back({Kind::Information, text});
}

bool FakeMessages::question(QWidget*, const QString& text)
{
    m_messages.push_back({Kind::Question, text});
    if (m_answers.empty())
        return false;
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

bool FakeMessages::list(QWidget*, const MessageList& message)
{
    static constexpr Kind kKinds[] = {Kind::Error, Kind::Warning, Kind::Information, Kind::Question};
    m_messages.push_back({kKinds[static_cast<int>(message.kind)], message.text, message.items, true});
    if (message.buttons == MessageList::Buttons::Ok)
        return true;
    if (m_answers.empty())
        return false;
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

std::deque<FakeMessages::Message> FakeMessages::lists() const
{
    std::deque<Message> result;
    for (const Message& m : m_messages)
        if (m.isList)
            result.push_back(m);
    return result;
}

QStringList FakeMessages::texts() const
{
    QStringList result;
    for (const Message& m : m_messages)
        result << m.text;
    return result;
}

} // namespace setforge
