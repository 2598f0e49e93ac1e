#include "gui/app/newprojectdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "core/app/appstate.h"
#include "core/app/projectstore.h"
#include "core/base/projectfiles.h"
#include "core/lang/textid.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"

namespace setforge {

NewProjectDialog::NewProjectDialog(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFNew_Project");
    setFixedSize(331, 162);

    auto* code = new QLabel(QString::fromUtf8(kSoftwareCode), this);
    code->setObjectName("L_SW_Code");
    QFont codeFont = code->font();
    codeFont.setPointSize(18);
    code->setFont(codeFont);
    code->setStyleSheet("color: grey;");
    code->setGeometry(12, 6, 300, 30);

    m_desc = new QLabel(this);
    m_desc->setObjectName("L_SW_Desc");
    QFont bold = m_desc->font();
    bold.setBold(true);
    m_desc->setFont(bold);
    m_desc->setGeometry(12, 38, 307, 18);

    m_nameLabel = new QLabel(this);
    m_nameLabel->setObjectName("L_New_Proj");
    m_nameLabel->setGeometry(12, 66, 307, 16);

    m_name = new QLineEdit(this);
    m_name->setObjectName("E_New_Proj");
    m_name->setGeometry(12, 84, 307, 24);
    connect(m_name, &QLineEdit::returnPressed, this, &NewProjectDialog::onOkClicked);

    m_ok = new QPushButton(this);
    m_ok->setObjectName("Btn_OK");
    m_ok->setGeometry(88, 122, 75, 28);
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &NewProjectDialog::onOkClicked);

    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setGeometry(170, 122, 75, 28);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    applyTexts();
}

void NewProjectDialog::applyTexts()
{
    setWindowTitle(text(TextId::NewProjectTitle));
    m_desc->setText(text(TextId::NewProjectDescription));
    m_nameLabel->setText(text(TextId::NewProjectName));
    m_ok->setText(text(TextId::NewProjectOk));
    m_cancel->setText(text(TextId::NewProjectCancel));
    m_name->setToolTip(text(TextId::NewProjectNameHint));
    m_ok->setToolTip(text(TextId::NewProjectOkHint));
    m_cancel->setToolTip(text(TextId::NewProjectCancelHint));
}

void NewProjectDialog::showEvent(QShowEvent* event)
{
    SetforgeDialog::showEvent(event);
    if (!event->spontaneous()) {
        m_name->clear();
        m_name->setFocus();
    }
}

void NewProjectDialog::onOkClicked()
{
    const Result<std::string> created = createProject(m_state.projectsDir, us(m_name->text()));
    if (!created) {
        messages().error(this, text(created.error().textId));
        return;
    }
    m_state.projectName = us(m_name->text());
    m_state.projectDir = *created;
    m_state.files = makeProjectFiles(m_state.projectDir);
    accept();
}

} // namespace setforge
