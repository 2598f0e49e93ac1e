#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QFrame;
class QPushButton;

namespace setforge {

class ClickLabel;
class SetforgeDialog;
class AboutDialog;
class NewProjectDialog;
class OpenProjectDialog;
class ProblemsView;
struct AppState;
struct FindingLocation;

// The windows created once at start, in creation order. A factory may return null; that
// step then does nothing beyond its checks.
struct SetforgeWindows {
    AboutDialog* about = nullptr;
    NewProjectDialog* newProject = nullptr;
    OpenProjectDialog* openProject = nullptr;
    SetforgeDialog* options = nullptr;
    SetforgeDialog* communication = nullptr;
    SetforgeDialog* sdoClient = nullptr;
    SetforgeDialog* emcyAccess = nullptr;
    SetforgeDialog* emcyDefine = nullptr;
    SetforgeDialog* pdoReceive = nullptr;
    SetforgeDialog* rpdoDefine = nullptr;
    SetforgeDialog* pdoTransmit = nullptr;
    SetforgeDialog* tpdoDefine = nullptr;
    SetforgeDialog* nodeGuard = nullptr;
    SetforgeDialog* update = nullptr;
    SetforgeDialog* simulate = nullptr; // not modal: the virtual converter
    ProblemsView* problems = nullptr;
};

// The main window: leads the user through the configuration steps of one project.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Lays out the window, then creates every other window once. `state` must already
    // hold the workspace, the settings and the texts (startWorkspace).
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& state() { return m_state; }
    SetforgeWindows& windows() { return m_windows; }
    QTimer& updateTimer() { return m_timer; }

    // Puts the main window's texts on its controls.
    void applyTexts();
    // Applies the texts to every window after a language change.
    void applyLanguage();
    // Lays out the steps for Device_Type.
    void layoutSteps();
    // Shows the open project (or none) in the two project labels.
    void showProjectLabels();
    // Enables the version timer exactly when Internet use and update checks are both on.
    void applyTimerFlags();
    // One tick of the version timer.
    void onUpdateTimer();
    // Shows or hides the newer-version link.
    void setUpdateLinkVisible(bool visible);

public slots:
    // Clicks the button named `name`, as the user would (used by tests and menus).
    void clickButton(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void createWindows();
    // A button at a fixed place whose click calls `onClick` on this window.
    template <typename Slot>
    QPushButton* addButton(const char* name, int left, int top, int width, int height, Slot onClick);
    bool needsProject();
    void showModal(SetforgeDialog* dialog);
    // Shows one step's window, once a project is open.
    void showStep(SetforgeDialog* dialog);

    // One handler per button, in the order of the window.
    void onInfoClicked();
    void onOptionsClicked();
    void askNewProject();
    void askOpenProject();
    void onCommunicationClicked();
    void onSdoClientClicked();
    void onEmcyAccessClicked();
    void onEmcyDefineClicked();
    void onPdoReceiveClicked();
    void onRpdoDefineClicked();
    void onPdoTransmitClicked();
    void onTpdoDefineClicked();
    void onNodeGuardClicked();
    void onEdsFileClicked();
    void onReportClicked();
    void onSimulateClicked();
    void onUpdateDeviceClicked();
    void onCheckProjectClicked();

    // Shows the window of a finding's file, modally, at the finding's row and cell.
    void openFinding(const FindingLocation& location);

    AppState& m_state;
    SetforgeWindows m_windows;
    QTimer m_timer;
    QLabel* m_code = nullptr;
    QLabel* m_desc = nullptr;
    QLabel* m_begin = nullptr;
    QFrame* m_shape2 = nullptr;
    QLabel* m_projectLabel = nullptr;
    QLabel* m_projectLabel2 = nullptr;
    QLabel* m_steps[9] = {};
    QFrame* m_shape1 = nullptr;
    ClickLabel* m_telvora = nullptr;
    QLabel* m_updateLink = nullptr;
    QPushButton* m_btnInfo = nullptr;
    QPushButton* m_btnOptions = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnNew = nullptr;
    QPushButton* m_btnOpen = nullptr;
    QPushButton* m_btnParGen = nullptr;
    QPushButton* m_btnSdoClient = nullptr;
    QPushButton* m_btnEmcyRec = nullptr;
    QPushButton* m_btnEmcyDef = nullptr;
    QPushButton* m_btnPdoRec = nullptr;
    QPushButton* m_btnPdoRecDef = nullptr;
    QPushButton* m_btnPdoTra = nullptr;
    QPushButton* m_btnPdoTraDef = nullptr;
    QPushButton* m_btnNodeGuard = nullptr;
    QPushButton* m_btnEdsFile = nullptr;
    QPushButton* m_btnReport = nullptr;
    QPushButton* m_btnSimulate = nullptr;
    QPushButton* m_btnCreateBin = nullptr;
    QPushButton* m_btnCheckProject = nullptr;
};

} // namespace setforge
