#pragma once

#include "core/mapping/mappingmodel.h"
#include "gui/app/setforgedialog.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace setforge {

class TabStopDelegate;

// The mapping editor window: the frames of one table, the Modbus register entries of the
// selected frame and the green fields to create, modify, delete, copy and paste entries. The
// three editors differ only by their MappingFormat. The window is created once at start and
// keeps its copy buffer until the program ends; frames and entries are reloaded at every show.
class MappingEditor : public SetforgeDialog {
    Q_OBJECT
public:
    MappingEditor(const MappingFormat& format, AppState& state, QWidget* parent);

    void applyTexts() override;
    // The next showing selects the entry of the finding's mapping file row (see SetforgeDialog).
    void startAt(const FindingLocation& location) override;
    // Loads the frames and entries (reload) and shows the editor modally. When a file cannot
    // be read its error is shown and the editor is not opened, so nothing can overwrite it.
    int exec() override;
    // Loads both files and runs the four refresh steps; false after showing the load error.
    bool reload();

    MappingModel& model() { return m_model; }
    // The selected frame and entry, or -1 when there is none.
    int selectedFrame() const;
    int selectedEntry() const;
    // The selected line of a missing frame as a position in MappingModel::missingFrames, or -1.
    int selectedMissingFrame() const;

    // Click in the frame list: entries of the new frame, cleared fields, its byte choices.
    void onFrameClicked();
    // Click in the entry list: the entry into the green fields.
    void onEntryClicked();
    // Names the entries the save would drop (beyond their frame, or of a missing frame) and
    // asks first, No going back; then names the registers the entries share with other tables
    // and lets the user go back (the warning never blocks saving); then writes the mapping
    // file and closes. A failed write is
    // shown and the editor stays open.
    void onOkClicked();
    // Asks for a first register, offering MappingModel::fillFrameStart, and fills the selected
    // frame with consecutive registers.
    void onFillFrameClicked();
    // Cancel, Escape and the title-bar close: with changed entries, asks "Discard the
    // changes?" first and stays open on No.
    void reject() override;
    // True when the entries differ from what the last showing loaded (the model's saved state).
    bool hasChanges() const;

    // The four refresh steps.
    void refreshFrames();
    void refreshEntries();
    void refreshFields();
    void refreshByteLists();

    // The entry operations; each does nothing without the selection it needs.
    void addEntry();
    void modifyEntry();
    void deleteEntry();
    void copyEntry();
    void pasteEntry();
    // Fills `frame` from register `firstRegister` on (see MappingModel::fillFrame), with the
    // send-on-write choice of the fields.
    void fillFrame(int frame, int firstRegister);
    // Ctrl+Z: puts back the frame the last entry operation changed (MappingModel::undo) and
    // shows it.
    void undoLastEdit();

    // For add-ons that explain the frames: the tooltip of frame `frame`'s line in the frame
    // list, and of choice "Byte `byteNumber`" (from 1) in both byte lists of the frame shown.
    // The lists are refilled on load and on each frame change, which drops the tooltips.
    void setFrameToolTip(int frame, const QString& tip);
    void setByteToolTip(int byteNumber, const QString& tip);

signals:
    // The frames were loaded and listed; no frame is selected yet.
    void framesLoaded();
    // A frame was selected (frame -1: none is) and its entries and byte lists are filled.
    // `cobId` is the frame's COB-ID, -1 when it has none (see MappingFrame::cobIdNumber).
    void frameSelected(int frame, qint64 cobId);

private:
    void buildLayout();
    QLabel* addLabel(QWidget* parent, const char* name, int left, int top, int width);
    QPushButton* addButton(QWidget* parent, const char* name, int left, int top, int width);
    QString editorText(MappingText text) const;
    RegisterEntry typedEntry() const;
    void showFields(const RegisterEntry& entry);
    void updateTabStops();
    void report(const MappingEditResult& result);

    MappingModel m_model;
    FindingLocation m_start; // where the next showing starts; row 0 for nowhere
    QFrame* m_title = nullptr;
    QFrame* m_buttons = nullptr;
    QLabel* m_swCode = nullptr;
    QLabel* m_swDesc = nullptr;
    QLabel* m_frameDesc1 = nullptr;
    QLabel* m_frameDesc2 = nullptr;
    QLabel* m_modRegDesc1 = nullptr;
    QLabel* m_modRegDesc2 = nullptr;
    QLabel* m_modIndDesc1 = nullptr;
    QLabel* m_modIndDesc2 = nullptr;
    QLabel* m_highDesc1 = nullptr;
    QLabel* m_highDesc2 = nullptr;
    QLabel* m_lowDesc1 = nullptr;
    QLabel* m_lowDesc2 = nullptr;
    QLabel* m_sendOnWrite = nullptr;
    QListWidget* m_frames = nullptr;
    QListWidget* m_entries = nullptr;
    TabStopDelegate* m_frameColumns = nullptr;
    QLineEdit* m_index = nullptr;
    QComboBox* m_high = nullptr;
    QComboBox* m_low = nullptr;
    QComboBox* m_write = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_paste = nullptr;
    QPushButton* m_fillFrame = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace setforge
