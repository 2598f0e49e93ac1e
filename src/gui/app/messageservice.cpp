#include "gui/app/messageservice.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

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

    bool list(QWidget* parent, const MessageList& message) override;

private:
    static QString title() { return QString::fromUtf8(kSoftwareCode); }
};

QStyle::StandardPixmap iconOf(MessageList::Kind kind)
{
    switch (kind) {
    case MessageList::Kind::Error:
        return QStyle::SP_MessageBoxCritical;
    case MessageList::Kind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageList::Kind::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageList::Kind::Question:
        break;
    }
    return QStyle::SP_MessageBoxQuestion;
}

bool QtMessageService::list(QWidget* parent, const MessageList& message)
{
    QDialog box(parent);
    box.setObjectName("MessageList");
    box.setWindowTitle(title());
    auto* icon = new QLabel(&box);
    const int iconSize = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(box.style()->standardIcon(iconOf(message.kind)).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(message.text, &box);
    text->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* items = new QListWidget(&box);
    items->setObjectName("LB_Items");
    items->addItems(message.items);
    items->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto addButton = [&](const QString& caption, const char* name) {
        auto* button = new QPushButton(caption, &box);
        button->setObjectName(name);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* accept = nullptr;
    QPushButton* refuse = nullptr;
    switch (message.buttons) {
    case MessageList::Buttons::Ok:
        accept = addButton(QMessageBox::tr("OK"), "Btn_OK");
        break;
    case MessageList::Buttons::YesNo:
        accept = addButton(QMessageBox::tr("&Yes"), "Btn_Yes");
        refuse = addButton(QMessageBox::tr("&No"), "Btn_No");
        break;
    case MessageList::Buttons::GoBackOk:
        refuse = addButton(message.goBack, "Btn_GoBack");
        accept = addButton(QMessageBox::tr("OK"), "Btn_OK");
        break;
    }
    // A question defaults to its safe answer; the others to OK.
    (message.buttons == MessageList::Buttons::YesNo ? refuse : accept)->setDefault(true);
    QObject::connect(accept, &QPushButton::clicked, &box, &QDialog::accept);
    if (refuse)
        QObject::connect(refuse, &QPushButton::clicked, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(top);
    layout->addWidget(items, 1);
    layout->addLayout(buttons);
    // The size stays whatever the list's length: the list scrolls instead.
    box.setFixedSize(560, 380);
    const bool accepted = box.exec() == QDialog::Accepted;
    return accepted || message.buttons == MessageList::Buttons::Ok;
}

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
