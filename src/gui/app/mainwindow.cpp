#include "gui/app/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "core/app/appstate.h"
#include "core/app/makerlinks.h"
#include "core/base/devicevariant.h"
#include "core/lang/textid.h"
#include "core/tables/projectdocuments.h"
#include "gui/app/aboutdialog.h"
#include "gui/app/clicklabel.h"
#include "gui/app/messageservice.h"
#include "gui/app/newprojectdialog.h"
#include "gui/app/openprojectdialog.h"
#include "gui/app/qtext.h"
#include "gui/app/tooltipwrapper.h"
#include "gui/app/urlopener.h"
#include "gui/app/windowfactory.h"
#include "gui/report/problemsview.h"
#include "gui/sim/virtualconverterwindow.h"

namespace setforge {

namespace {

constexpr int kClientWidth = 694;
constexpr int kStepRowTop[9] = {112, 156, 200, 244, 288, 332, 376, 420, 464};
constexpr int kFirstColumn = 80;
constexpr int kSecondColumn = 258;
// Step 8's third place, narrower so it ends before the maker's link at 565.
constexpr int kThirdColumn = 436;
constexpr int kSimulateButtonWidth = 120;
constexpr int kStepButtonWidth = 170;
constexpr int kStepButtonHeight = 36;
constexpr int kFirstVersionTick = 60000;
constexpr int kNextVersionTick = 7200000;

} // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_state(state)
{
    setObjectName("TFSetforgeFirmWare");
    installTooltipWrapping();
    buildLayout();
    m_timer.setObjectName("Timer_Update");
    m_timer.setInterval(kFirstVersionTick);
    connect(&m_timer, &QTimer::timeout, this, &MainWindow::onUpdateTimer);
    applyTimerFlags();
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    m_code->setText(QString::fromUtf8(kSoftwareCode));
    m_desc->setText(QString::fromUtf8(kDeviceDescription));
    showProjectLabels();
    applyTexts();
    createWindows();
}

MainWindow::~MainWindow() = default;

template <typename Slot>
QPushButton* MainWindow::addButton(const char* name, int left, int top, int width, int height, Slot onClick)
{
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setGeometry(left, top, width, height);
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, this, onClick);
    return button;
}

void MainWindow::buildLayout()
{
    m_code = new QLabel(this);
    m_code->setObjectName("L_SW_Code");
    m_code->move(16, 8);
    QFont codeFont = m_code->font();
    codeFont.setPointSize(20);
    m_code->setFont(codeFont);
    m_code->setStyleSheet("color: grey;");
    m_code->resize(300, 34);

    m_desc = new QLabel(this);
    m_desc->setObjectName("L_SW_Desc");
    m_desc->move(16, 42);
    QFont bold = m_desc->font();
    bold.setBold(true);
    m_desc->setFont(bold);
    m_desc->resize(480, 20);

    m_btnInfo = addButton("Btn_Info", 516, 8, 50, 50, &MainWindow::onInfoClicked);
    m_btnInfo->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    m_btnOptions = addButton("Btn_Opz", 574, 8, 50, 50, &MainWindow::onOptionsClicked);
    m_btnOptions->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_btnClose = addButton("Btn_Close", 632, 8, 50, 50, &QWidget::close);
    m_btnClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QPushButton* b : {m_btnInfo, m_btnOptions, m_btnClose})
        b->setIconSize(QSize(32, 32));

    m_updateLink = new QLabel(this);
    m_updateLink->setObjectName("LL_Update");
    m_updateLink->move(208, 19);
    m_updateLink->resize(300, 20);
    m_updateLink->setTextFormat(Qt::RichText);
    m_updateLink->setVisible(false);
    connect(m_updateLink, &QLabel::linkActivated, this,
            [](const QString& link) { UrlOpener::instance().open(link); });

    m_begin = new QLabel(this);
    m_begin->setObjectName("L_Begin");
    m_begin->move(16, 84);
    m_begin->resize(60, 20);

    m_shape2 = new QFrame(this);
    m_shape2->setObjectName("Shape2");
    m_shape2->setFrameShape(QFrame::Box);
    m_shape2->setGeometry(80, 70, 348, 36);

    m_projectLabel = new QLabel(this);
    m_projectLabel->setObjectName("L_Name_Conf");
    m_projectLabel->setGeometry(87, 75, 336, 14);
    m_projectLabel2 = new QLabel(this);
    m_projectLabel2->setObjectName("L_Name_Conf_L2");
    m_projectLabel2->setGeometry(87, 88, 336, 16);
    m_projectLabel2->setStyleSheet("color: grey;");

    for (int i = 0; i < 9; ++i) {
        m_steps[i] = new QLabel(this);
        m_steps[i]->setObjectName(QString("L_Step_%1").arg(i + 1));
        m_steps[i]->setGeometry(16, kStepRowTop[i] + 16, 62, 16);
    }

    const int w = kStepButtonWidth;
    const int h = kStepButtonHeight;
    m_btnNew = addButton("Btn_New", kFirstColumn, kStepRowTop[0], w, h, &MainWindow::askNewProject);
    m_btnOpen = addButton("Btn_Open", kSecondColumn, kStepRowTop[0], w, h, &MainWindow::askOpenProject);
    m_btnParGen =
        addButton("Btn_Prm_Gen", kFirstColumn, kStepRowTop[1], w, h, &MainWindow::onCommunicationClicked);
    m_btnSdoClient =
        addButton("Btn_SDO_Client", kFirstColumn, kStepRowTop[2], w, h, &MainWindow::onSdoClientClicked);
    m_btnEmcyRec =
        addButton("Btn_EMCY_Rec", kFirstColumn, kStepRowTop[3], w, h, &MainWindow::onEmcyAccessClicked);
    m_btnEmcyDef =
        addButton("Btn_EMCY_Def", kSecondColumn, kStepRowTop[3], w, h, &MainWindow::onEmcyDefineClicked);
    m_btnPdoRec =
        addButton("Btn_PDO_Rec", kFirstColumn, kStepRowTop[4], w, h, &MainWindow::onPdoReceiveClicked);
    m_btnPdoRecDef =
        addButton("Btn_PDO_Rec_Def", kSecondColumn, kStepRowTop[4], w, h, &MainWindow::onRpdoDefineClicked);
    m_btnPdoTra =
        addButton("Btn_PDO_Tra", kFirstColumn, kStepRowTop[5], w, h, &MainWindow::onPdoTransmitClicked);
    m_btnPdoTraDef =
        addButton("Btn_PDO_Tra_Def", kSecondColumn, kStepRowTop[5], w, h, &MainWindow::onTpdoDefineClicked);
    m_btnNodeGuard =
        addButton("Btn_NodeGuard", kFirstColumn, kStepRowTop[6], w, h, &MainWindow::onNodeGuardClicked);
    m_btnEdsFile =
        addButton("Btn_EDS_File", kFirstColumn, kStepRowTop[7], w, h, &MainWindow::onEdsFileClicked);
    // Step 8 has a free second column in both variants (beside EDS File, or beside the update).
    m_btnReport = addButton("Btn_Report", kSecondColumn, kStepRowTop[7], w, h, &MainWindow::onReportClicked);
    m_btnSimulate = addButton("Btn_Simulate", kThirdColumn, kStepRowTop[7], kSimulateButtonWidth, h,
                              &MainWindow::onSimulateClicked);
    m_btnCreateBin =
        addButton("Btn_CreateBin", kFirstColumn, kStepRowTop[8], w, h, &MainWindow::onUpdateDeviceClicked);

    // Beside the open project's name: the checks concern the whole project, and are there to use
    // at any step, not only before the update.
    m_btnCheckProject = addButton("Btn_Check_Project", kThirdColumn, 70, kSimulateButtonWidth, h,
                                  &MainWindow::onCheckProjectClicked);

    m_shape1 = new QFrame(this);
    m_shape1->setObjectName("Shape1");
    m_shape1->setFrameShape(QFrame::HLine);
    m_shape1->setFrameShadow(QFrame::Plain);
    m_shape1->setGeometry(10, kStepRowTop[8] + 51, 674, 1);

    m_telvora = new ClickLabel(this);
    m_telvora->setObjectName("L_Telvora");
    m_telvora->setFont(bold);
    m_telvora->setText(qs("www." + makerHost()));
    m_telvora->adjustSize();
    m_telvora->move(565, kStepRowTop[8] + 16);
    connect(m_telvora, &ClickLabel::clicked, this, [] { UrlOpener::instance().open(qs(makerHomeUrl())); });

    // Start-up lays out all nine steps; showing the window lays them out for the variant.
    setFixedSize(kClientWidth, kStepRowTop[8] + 152);
}

void MainWindow::createWindows()
{
    m_windows.about = new AboutDialog(m_state, this);
    m_windows.newProject = new NewProjectDialog(m_state, this);
    m_windows.openProject = new OpenProjectDialog(m_state, this);
    m_windows.options = createOptionsWindow(m_state, this, [this] { applyLanguage(); });
    m_windows.communication = createCommunicationWindow(m_state, this);
    m_windows.sdoClient = createSdoClientWindow(m_state, this);
    m_windows.emcyAccess = createEmcyAccessWindow(m_state, this);
    m_windows.emcyDefine = createEmcyDefineWindow(m_state, this);
    m_windows.pdoReceive = createPdoReceiveWindow(m_state, this);
    m_windows.rpdoDefine = createRpdoDefineWindow(m_state, this);
    m_windows.pdoTransmit = createPdoTransmitWindow(m_state, this);
    m_windows.tpdoDefine = createTpdoDefineWindow(m_state, this);
    m_windows.nodeGuard = createNodeGuardWindow(m_state, this);
    m_windows.update = createUpdateWindow(m_state, this);
    m_windows.simulate = new VirtualConverterWindow(m_state, this);
    m_windows.problems =
        new ProblemsView(m_state, this, [this](const FindingLocation& location) { openFinding(location); });
}

void MainWindow::applyTexts()
{
    const UiTexts& t = m_state.texts;
    m_begin->setText(qs(t[TextId::MainBegin]));
    for (int i = 0; i < 8; ++i)
        m_steps[i]->setText(qs(t[TextId::MainFirstStep + i]));
    m_steps[8]->setText(qs(t[TextId::MainNinthStep]));
    m_btnInfo->setToolTip(qs(t[TextId::MainInformationHint]));
    m_btnOptions->setToolTip(qs(t[TextId::MainOptionsHint]));
    m_btnClose->setToolTip(qs(t[TextId::MainCloseHint]));
    m_btnNew->setText(qs(t[TextId::MainNewProject]));
    m_btnOpen->setText(qs(t[TextId::MainOpenProject]));
    m_btnCreateBin->setText(qs(t[TextId::MainUpdateDevice]));
    m_btnParGen->setText(qs(t[TextId::MainSetCommunication]));
    m_btnSdoClient->setText(qs(t[TextId::MainSetSdo]));
    m_btnEmcyRec->setText(qs(t[TextId::MainSetEmergency]));
    m_btnEmcyDef->setText(qs(t[TextId::MainDefineEmergency]));
    m_btnPdoRec->setText(qs(t[TextId::MainSetReceivePdo]));
    m_btnPdoRecDef->setText(qs(t[TextId::MainDefineReceivePdo]));
    m_btnPdoTra->setText(qs(t[TextId::MainSetTransmitPdo]));
    m_btnPdoTraDef->setText(qs(t[TextId::MainDefineTransmitPdo]));
    m_btnNodeGuard->setText(qs(t[TextId::MainSetNodeGuarding]));
    m_btnEdsFile->setText(qs(t[TextId::MainEdsFile]));
    m_btnReport->setText(qs(t[TextId::MainReport]));
    m_btnSimulate->setText(qs(t[TextId::MainSimulate]));
    m_btnCheckProject->setText(qs(t[TextId::MainCheckProject]));
    m_btnCheckProject->setToolTip(qs(t[TextId::MainCheckProjectHint]));
    m_updateLink->setText(
        QString("<a href=\"%1\">%2</a>")
            .arg(qs(makerDownloadUrl()).toHtmlEscaped(), qs(t[TextId::MainNewVersionLink]).toHtmlEscaped()));
    m_updateLink->adjustSize();
    showProjectLabels();
}

void MainWindow::applyLanguage()
{
    applyTexts();
    auto apply = [](QWidget* w) {
        if (auto* dialog = dynamic_cast<SetforgeDialog*>(w))
            dialog->applyTexts();
    };
    apply(m_windows.newProject);
    apply(m_windows.openProject);
    apply(m_windows.update);
    apply(m_windows.simulate);
    apply(m_windows.options);
    apply(m_windows.communication);
    apply(m_windows.sdoClient);
    apply(m_windows.emcyAccess);
    apply(m_windows.emcyDefine);
    apply(m_windows.pdoReceive);
    apply(m_windows.rpdoDefine);
    apply(m_windows.pdoTransmit);
    apply(m_windows.tpdoDefine);
    apply(m_windows.nodeGuard);
    apply(m_windows.problems);
}

void MainWindow::showProjectLabels()
{
    if (m_state.hasProject()) {
        m_projectLabel->setText(qs(m_state.texts[TextId::MainProjectOpen]));
        m_projectLabel2->setText(qs(m_state.projectName));
    } else {
        m_projectLabel->setText(qs(m_state.texts[TextId::MainNoProjectOpen]));
        m_projectLabel2->setText(qs(m_state.texts[TextId::MainHowToOpenProject]));
    }
}

void MainWindow::layoutSteps()
{
    m_btnSdoClient->show();
    m_btnEmcyRec->show();
    m_btnEmcyDef->show();
    m_btnPdoRec->show();
    m_btnPdoRecDef->show();
    m_btnPdoTra->show();
    m_btnNodeGuard->show();
    const bool ethernet = hasEthernet(variantForSteps(m_state.deviceType));
    m_btnPdoTraDef->setVisible(ethernet);
    int lastStep;
    if (ethernet) {
        m_btnEdsFile->move(kFirstColumn, kStepRowTop[7]);
        m_btnEdsFile->show();
        m_btnCreateBin->move(kFirstColumn, kStepRowTop[8]);
        m_steps[8]->show();
        lastStep = 8;
    } else {
        m_btnEdsFile->hide();
        m_btnCreateBin->move(kFirstColumn, kStepRowTop[7]);
        m_steps[8]->hide();
        lastStep = 7;
    }
    // A long maker host would run past the window's edge at 565; it then moves left to fit.
    m_telvora->move(qMin(565, kClientWidth - m_telvora->width() - 8), m_steps[lastStep]->y());
    const int binTop = m_btnCreateBin->y();
    m_shape1->move(10, binTop + 51);
    setFixedSize(kClientWidth, binTop + 152);
}

void MainWindow::applyTimerFlags()
{
    // A running timer keeps its countdown: restarting it on every OK of the options would
    // put the next check off each time. A timer switched on again checks after one minute.
    if (m_state.enableInternet && m_state.enableUpdate) {
        if (!m_timer.isActive())
            m_timer.start(kFirstVersionTick);
    } else {
        m_timer.stop();
    }
}

void MainWindow::onUpdateTimer()
{
    m_timer.stop();
    setUpdateLinkVisible(checkForNewerVersion(m_state));
    m_timer.setInterval(kNextVersionTick);
    m_timer.start();
}

void MainWindow::setUpdateLinkVisible(bool visible)
{
    m_updateLink->setVisible(visible);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        refreshDeviceType(m_state);
        layoutSteps();
        if (QScreen* screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            move(available.center() - rect().center());
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const Result<void> saved = saveSettings(m_state);
    if (!saved)
        messages().error(this, qs(saved.error().text));
    event->accept();
}

void MainWindow::showModal(SetforgeDialog* dialog)
{
    if (dialog)
        dialog->exec();
}

void MainWindow::clickButton(const QString& name)
{
    if (auto* button = findChild<QPushButton*>(name))
        button->click();
}

void MainWindow::onInfoClicked()
{
    m_windows.about->exec();
}

void MainWindow::onOptionsClicked()
{
    if (!m_windows.options || m_windows.options->exec() != QDialog::Accepted)
        return;
    const Result<void> saved = saveSettings(m_state);
    if (!saved)
        messages().error(this, qs(saved.error().text));
    applyTimerFlags();
}

// The steps past the first work on the open project; without one they only say so.
bool MainWindow::needsProject()
{
    if (m_state.hasProject())
        return true;
    messages().error(this, qs(m_state.texts[TextId::ProjectNotValid]));
    return false;
}

void MainWindow::showStep(SetforgeDialog* dialog)
{
    if (needsProject())
        showModal(dialog);
}

void MainWindow::onCommunicationClicked()
{
    if (!needsProject())
        return;
    showModal(m_windows.communication);
    // The device type may have changed, and with it the steps shown.
    refreshDeviceType(m_state);
    layoutSteps();
}

void MainWindow::onSdoClientClicked()
{
    showStep(m_windows.sdoClient);
}

void MainWindow::onEmcyAccessClicked()
{
    showStep(m_windows.emcyAccess);
}

void MainWindow::onEmcyDefineClicked()
{
    showStep(m_windows.emcyDefine);
}

void MainWindow::onPdoReceiveClicked()
{
    showStep(m_windows.pdoReceive);
}

void MainWindow::onRpdoDefineClicked()
{
    showStep(m_windows.rpdoDefine);
}

void MainWindow::onPdoTransmitClicked()
{
    showStep(m_windows.pdoTransmit);
}

void MainWindow::onTpdoDefineClicked()
{
    showStep(m_windows.tpdoDefine);
}

void MainWindow::onNodeGuardClicked()
{
    showStep(m_windows.nodeGuard);
}

void MainWindow::onEdsFileClicked()
{
    if (needsProject())
        buildEdsFile(m_state, this);
}

void MainWindow::onReportClicked()
{
    if (needsProject())
        buildReport(m_state, this);
}

void MainWindow::onSimulateClicked()
{
    m_windows.simulate->show();
    m_windows.simulate->raise();
    m_windows.simulate->activateWindow();
}

void MainWindow::onUpdateDeviceClicked()
{
    if (needsProject())
        updateDevice(m_state, this, m_windows.update);
}

void MainWindow::onCheckProjectClicked()
{
    if (!needsProject())
        return;
    m_windows.problems->refresh();
    m_windows.problems->exec();
}

void MainWindow::openFinding(const FindingLocation& location)
{
    using File = ProjectDocuments::File;
    const std::pair<File, SetforgeDialog*> windows[] = {
        {File::ParGen, m_windows.communication},    {File::Sdo, m_windows.sdoClient},
        {File::EmcyDef, m_windows.emcyAccess},      {File::EmcyWord, m_windows.emcyDefine},
        {File::RpdoDef, m_windows.pdoReceive},      {File::SdoPdo, m_windows.rpdoDefine},
        {File::TransmitPdo, m_windows.pdoTransmit}, {File::TransmitPdoDefine, m_windows.tpdoDefine},
        {File::NodeGuard, m_windows.nodeGuard},
    };
    for (const auto& [file, window] : windows) {
        if (location.file != ProjectDocuments::fileName(file) || !window)
            continue;
        window->startAt(location);
        if (file == File::ParGen)
            onCommunicationClicked(); // the steps follow a changed device type
        else
            showStep(window);
        return;
    }
}

void MainWindow::askNewProject()
{
    if (m_windows.newProject->exec() != QDialog::Accepted)
        return;
    showProjectLabels();
    m_state.deviceType = 0;
    layoutSteps();
}

void MainWindow::askOpenProject()
{
    if (m_windows.openProject->exec() != QDialog::Accepted)
        return;
    openProject(m_state, us(m_windows.openProject->chosenProject()));
    showProjectLabels();
    layoutSteps();
}

} // namespace setforge
