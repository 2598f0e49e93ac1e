#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace setforge {

// A message with a list of any length below its text: the box keeps a fixed size and the list
// scrolls, so 150 problems never push the buttons off the screen.
struct MessageList {
    enum class Kind { Error, Warning, Information, Question };
    enum class Buttons {
        Ok,       // one OK button; the answer is always true
        YesNo,    // Yes (true) and No (false), No the default
        GoBackOk, // OK (true) and `goBack` (false), OK the default
    };
    Kind kind = Kind::Warning;
    QString text;      // above the list
    QStringList items; // one line each
    Buttons buttons = Buttons::Ok;
    QString goBack; // the caption of the Go back button
};

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
    // A box of fixed size with a scrolling list (see MessageList); true for OK or Yes.
    virtual bool list(QWidget* parent, const MessageList& message) = 0;

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
