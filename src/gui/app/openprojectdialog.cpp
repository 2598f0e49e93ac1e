#include "gui/app/openprojectdialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/app/projectstore.h"
#include "core/lang/textid.h"
#include "gui/app/qtext.h"

namespace setforge {

OpenProjectDialog::OpenProjectDialog(AppState& state, QWidget* parent) : SetforgeDialog(state, parent)
{
    setObjectName("TFOpenConf");
    resize(377, 351);

    auto* layout = new QVBoxLayout(this);
    auto* code = new QLabel(QString::fromUtf8(kSoftwareCode), this);
    code->setObjectName("L_SW_Code");
    QFont codeFont = code->font();
    codeFont.setPointSize(18);
    code->setFont(codeFont);
    code->setStyleSheet("color: grey;");
    layout->addWidget(code);

    m_desc = new QLabel(this);
    m_desc->setObjectName("L_SW_Desc");
    QFont bold = m_desc->font();
    bold.setBold(true);
    m_desc->setFont(bold);
    layout->addWidget(m_desc);

    m_listLabel = new QLabel(this);
    m_listLabel->setObjectName("L_List_Conf");
    layout->addWidget(m_listLabel);

    m_box = new QListWidget(this);
    m_box->setObjectName("LB_Conf");
    layout->addWidget(m_box, 1);
    connect(m_box, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_list.size())
            m_chosenProject = m_list.at(row);
    });
    // A double-click or Enter on an entry opens it, as OK does.
    connect(m_box, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item)
            accept();
    });
    m_box->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(this);
    m_ok->setObjectName("Btn_OK");
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Btn_Cancel");
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    layout->addLayout(buttons);

    applyTexts();
}

void OpenProjectDialog::applyTexts()
{
    setWindowTitle(text(TextId::OpenProjectTitle));
    m_desc->setText(text(TextId::OpenProjectDescription));
    m_listLabel->setText(text(TextId::OpenProjectList));
    m_ok->setText(text(TextId::OpenProjectOk));
    m_cancel->setText(text(TextId::OpenProjectCancel));
    m_box->setToolTip(text(TextId::OpenProjectListHint));
    m_ok->setToolTip(text(TextId::OpenProjectOkHint));
    m_cancel->setToolTip(text(TextId::OpenProjectCancelHint));
}

void OpenProjectDialog::refreshProjectList()
{
    m_list.clear();
    for (const std::string& name : listProjects(m_state.projectsDir))
        m_list << qs(name);
    m_box->blockSignals(true);
    m_box->clear();
    m_box->addItems(m_list);
    m_box->blockSignals(false);

    std::vector<std::string> names;
    for (const QString& name : m_list)
        names.push_back(us(name));
    const int found = findProject(names, openProjectName(m_state.projectsDir, m_state.projectDir));
    m_chosenProject.clear();
    if (found >= 0) {
        m_box->setCurrentRow(found);
        m_chosenProject = m_list.at(found);
    } else if (!m_list.isEmpty()) {
        m_box->setCurrentRow(0);
        m_chosenProject = m_list.first();
    }
}

bool OpenProjectDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_box->currentRow() >= 0) {
            accept();
            return true;
        }
    }
    return SetforgeDialog::eventFilter(watched, event);
}

void OpenProjectDialog::showEvent(QShowEvent* event)
{
    SetforgeDialog::showEvent(event);
    if (!event->spontaneous())
        refreshProjectList();
}

} // namespace setforge
