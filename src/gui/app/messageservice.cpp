#include "gui/app/messageservice.h"

#include <QApplication>
#include <QMessageBox>

#include "core/app/appstate.h"

namespace setforge {

namespace {

class QtMessageService final : public MessageService {
public:
    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, title(), text, QMessageBox::Ok);
    }
    void warning(QWidget* parent, const QString& text) override
    {
        QMessageBox::warning(parent, title(), text, QMessageBox::Ok);
    }
    void information(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, title(), text, QMessageBox::Ok);
    }
    bool question(QWidget* parent, const QString& text) override
    {
        return QMessageBox::question(parent, title(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

private:
    static QString title() { return QString::fromUtf8(kSoftwareCode); }
};

QtMessageService g_realService;
MessageService* g_service = nullptr;

} // namespace

MessageService& MessageService::instance()
{
    return g_service ? *g_service : g_realService;
}

void MessageService::setInstance(MessageService* service)
{
    g_service = service;
}

} // namespace setforge
