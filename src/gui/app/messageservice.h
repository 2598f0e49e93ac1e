#pragma once

#include <QString>

class QWidget;

namespace setforge {

// The one way the program shows modal messages. Tests install a double that records the
// texts and answers questions, so no real box ever blocks a test.
class MessageService {
public:
    virtual ~MessageService() = default;

    // Error box with one OK button.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Warning box with one OK button.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // Plain information box with one OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // Confirmation box with the question icon and Yes/No; true for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;

    // The service in use: the real boxes unless a test installed another.
    static MessageService& instance();
    // Installs `service` (nullptr restores the real boxes). The caller keeps ownership.
    static void setInstance(MessageService* service);
};

// Shorthand for MessageService::instance().
inline MessageService& messages()
{
    return MessageService::instance();
}

} // namespace setforge
