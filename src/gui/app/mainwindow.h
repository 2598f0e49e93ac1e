#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QFrame;
class QPushButton;
class ClickLabel;
class SetforgeDialog;
class TFAbout;
class TFNew_Project;
class TFOpenConf;
struct AppState;

// The windows created once at start, in creation order. A window whose issue has not
// landed yet is null.
struct SetforgeWindows {
    TFAbout* about = nullptr;
    TFNew_Project* newProject = nullptr;
    TFOpenConf* openConf = nullptr;
    SetforgeDialog* softOptions = nullptr;
    SetforgeDialog* parGen = nullptr;
    SetforgeDialog* sdoClient = nullptr;
    SetforgeDialog* emcyAccess = nullptr;
    SetforgeDialog* emcyDefine = nullptr;
    SetforgeDialog* pdoReceive = nullptr;
    SetforgeDialog* rpdoDefine = nullptr;
    SetforgeDialog* pdoTransmit = nullptr;
    SetforgeDialog* tpdoDefine = nullptr;
    SetforgeDialog* nodeGuard = nullptr;
    SetforgeDialog* boot = nullptr;
};

// The main window: leads the user through the configuration steps of one project.
class TFSetforgeFirmWare : public QWidget {
    Q_OBJECT
public:
    // Lays out the window, then creates every other window once. `state` must already
    // hold the workspace, the settings and the texts (startWorkspace).
    explicit TFSetforgeFirmWare(AppState& state, QWidget* parent = nullptr);
    ~TFSetforgeFirmWare() override;

    AppState& state() { return m_state; }
    SetforgeWindows& windows() { return m_windows; }
    QTimer& updateTimer() { return m_timer; }

    // Puts the main window's texts on its controls.
    void Set_Lang();
    // Applies the texts to every window after a language change.
    void Change_Language();
    // Reads Device_Type from the open project.
    void CheckHardwareVersion();
    // Lays out the steps for Device_Type.
    void HardwareChange();
    // Shows the open project (or none) in the two project labels.
    void showProjectLabels();
    // Enables the version timer exactly when Internet use and update checks are both on.
    void applyTimerFlags();
    // One tick of the version timer.
    void Timer_UpdateTimer();
    // Shows or hides the newer-version link.
    void setUpdateLinkVisible(bool visible);

public slots:
    // The one click handler of every step and icon button.
    void Btn_Click();
    // Dispatches as Btn_Click for the button named `name` (used by tests and menus).
    void clickButton(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void createWindows();
    void Create_New_Project();
    void Open_Project();
    void showModal(SetforgeDialog* dialog);
    QPushButton* addButton(const char* name, int left, int top, int width, int height);

    AppState& m_state;
    SetforgeWindows m_windows;
    QTimer m_timer;
    QLabel* m_code = nullptr;
    QLabel* m_desc = nullptr;
    QLabel* m_begin = nullptr;
    QFrame* m_shape2 = nullptr;
    QLabel* m_nameConf = nullptr;
    QLabel* m_nameConf2 = nullptr;
    QLabel* m_steps[9] = {};
    QFrame* m_shape1 = nullptr;
    ClickLabel* m_telvora = nullptr;
    QLabel* m_updateLink = nullptr;
    QPushButton* m_btnInfo = nullptr;
    QPushButton* m_btnOpz = nullptr;
    QPushButton* m_btnClose = nullptr;
    QPushButton* m_btnNew = nullptr;
    QPushButton* m_btnOpen = nullptr;
    QPushButton* m_btnPrmGen = nullptr;
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
    QPushButton* m_btnCreateBin = nullptr;
};
