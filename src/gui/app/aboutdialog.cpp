#include "gui/app/aboutdialog.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "gui/app/clicklabel.h"
#include "gui/app/qtext.h"
#include "gui/app/urlopener.h"

namespace {

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
    setFixedSize(406, 148);

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
}
