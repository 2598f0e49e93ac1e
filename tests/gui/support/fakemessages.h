#pragma once

#include <deque>

#include <QString>
#include <QStringList>

#include "gui/app/messageservice.h"

namespace setforge {

// Records every message instead of showing it, and answers questions from a queue.
// Installs itself for its lifetime.
class FakeMessages : public MessageService {
public:
    enum class Kind { Error, Warning, Information, Question };
    struct Message {
        Kind kind;
        QString text;
        QStringList items = {}; // the lines of a list box
        bool isList = false;
    };

    FakeMessages();
    ~FakeMessages() override;

    void error(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    // Records the box with its lines; a box with OK only answers true, the others take the
    // next queued answer (true = Yes or OK; unqueued: No or Go back).
    bool list(QWidget* parent, const MessageList& message) override;

    // Queues the answer of the next question (true = Yes). Unqueued questions answer No.
    void answer(bool yes) { m_answers.push_back(yes); }
    // Every message so far, in order.
    const std::deque<Message>& all() const { return m_messages; }
    // The texts only.
    QStringList texts() const;
    // The last text, or empty.
    QString last() const { return m_messages.empty() ? QString() : m_messages.back().text; }
    void clear() { m_messages.clear(); }
    // The list boxes only, in order.
    std::deque<Message> lists() const;

private:
    std::deque<Message> m_messages;
    std::deque<bool> m_answers;
};

} // namespace setforge
