#include "gui/app/aboutdialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "core/lang/textid.h"
#include "gui/app/clicklabel.h"
#include "gui/app/qtext.h"
#include "gui/app/urlopener.h"

namespace setforge {

namespace {

constexpr int kWorkspaceTop = 148;
constexpr int kWorkspaceWidth = 386;

QPixmap makeLogo()
{
    QPixmap logo(96, 96);
    logo.fill(QColor(0, 70, 140));
    QPainter painter(&logo);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(30);
    painter.setFont(font);
    painter.drawText(logo.rect(), Qt::AlignCenter, "T");
    return logo;
}

} // namespace

AboutDialog::AboutDialog(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFAbout");
    setWindowTitle("Setforge");
    setFixedSize(406, 196);

    auto* logo = new ClickLabel(this);
    logo->setObjectName("Image_Logo");
    logo->setPixmap(makeLogo());
    logo->setGeometry(10, 10, 96, 96);
    auto openHome = [] { UrlOpener::instance().open(qs(makerHomeUrl())); };
    connect(logo, &ClickLabel::clicked, this, openHome);

    auto addLabel = [this](const char* name, const QString& text, int left, int top, bool bold) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        QFont font = label->font();
        font.setBold(bold);
        label->setFont(font);
        label->move(left, top);
        label->adjustSize();
        return label;
    };
    addLabel("L_Title", "Software Setforge ", 120, 10, true);
    addLabel("L_Desc", QString::fromUtf8(kDeviceDescription), 120, 30, false);
    addLabel("L_Code", QString("Software Code : ") + kSoftwareCode, 120, 52, false);
    addLabel("L_Version", QString("Version :") + kSoftwareVersion, 120, 70, false);
    addLabel("L_Doc", QString("Document Code :") + kDocumentCode, 120, 88, false);

    auto* web = new ClickLabel(this);
    web->setObjectName("L_Web");
    web->setText(qs("www." + makerHost()));
    web->move(120, 112);
    web->adjustSize();
    connect(web, &ClickLabel::clicked, this, openHome);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Btn_OK");
    ok->setGeometry(318, 112, 75, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_workspaceCaption = new QLabel(this);
    m_workspaceCaption->setObjectName("L_Workspace");
    m_workspaceCaption->setGeometry(10, kWorkspaceTop, kWorkspaceWidth, 18);
    m_workspaceDir = new QLabel(this);
    m_workspaceDir->setObjectName("L_Workspace_Dir");
    m_workspaceDir->setGeometry(10, kWorkspaceTop + 20, kWorkspaceWidth, 18);
    m_workspaceDir->setTextInteractionFlags(Qt::TextSelectableByMouse);
    applyTexts();
}

void AboutDialog::applyTexts()
{
    const bool installed = m_state.workspaceMode == WorkspaceMode::Installed;
    m_workspaceCaption->setText(
        text(installed ? TextId::AboutWorkspaceUserData : TextId::AboutWorkspaceBeside));
    // A long folder keeps both its ends in view; the whole path is in the hint.
    const QString folder = qs(m_state.workspaceDir);
    m_workspaceDir->setText(
        m_workspaceDir->fontMetrics().elidedText(folder, Qt::ElideMiddle, kWorkspaceWidth));
    m_workspaceDir->setToolTip(folder);
}

void AboutDialog::showEvent(QShowEvent* event)
{
    // The About window is not among those a language change re-texts, so it reads its
    // caption each time it is shown.
    applyTexts();
    SetforgeDialog::showEvent(event);
}

} // namespace setforge
