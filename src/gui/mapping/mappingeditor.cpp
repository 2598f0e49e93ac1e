#include "gui/mapping/mappingeditor.h"

#include <optional>
#include <utility>

#include <QAction>
#include <QComboBox>
#include <QFontMetricsF>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "core/app/appstate.h"
#include "core/image/sharedregisters.h"
#include "core/lang/textid.h"
#include "core/mapping/mappingplace.h"
#include "gui/app/messageservice.h"
#include "gui/app/qtext.h"
#include "gui/app/savecheck.h"
#include "gui/app/tooltipwrapper.h"
#include "gui/mapping/tabstopdelegate.h"

namespace setforge {

namespace {

constexpr int kClientWidth = 629;
constexpr int kClientHeight = 496;
constexpr int kLeft = 12;
constexpr int kRight = 320;
constexpr int kColumnWidth = 290;
constexpr int kFieldWidth = 140;
constexpr int kFieldHeight = 24;
constexpr int kButtonWidth = 95;
constexpr int kButtonStep = 101;
constexpr int kButtonHeight = 30;
const QColor kGreenField(168, 255, 168);
// Lines of entries that OK would drop, and of frames that are missing.
const QColor kMarkedLine(192, 0, 0);

void paintGreen(QWidget* field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kGreenField);
    palette.setColor(QPalette::Button, kGreenField);
    field->setPalette(palette);
    field->setAutoFillBackground(true);
    // The style draws a drop-down's button face as a gradient of the palette colour; a style
    // sheet fill makes the lists the exact green of the edit field.
    if (qobject_cast<QComboBox*>(field))
        field->setStyleSheet(QString("QComboBox { background-color: %1; border: 1px solid palette(mid); "
                                     "border-radius: 2px; padding: 1px 18px 1px 4px; }")
                                 .arg(kGreenField.name()));
}

// The row of the selected item, or -1; the current item alone (focus without a click) does
// not count as a selection.
int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void selectItem(QComboBox* box, int item)
{
    box->setCurrentIndex(item >= 0 && item < box->count() ? item : 0);
}

} // namespace

MappingEditor::MappingEditor(const MappingFormat& format, AppState& state, QWidget* parent)
    : SetforgeDialog(state, parent), m_model(format)
{
    buildLayout();
    m_swCode->setText(QString::fromUtf8(kSoftwareCode));
    setFixedSize(kClientWidth, kClientHeight);
    applyTexts();
}

QLabel* MappingEditor::addLabel(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(left, top, width, 18);
    return label;
}

QPushButton* MappingEditor::addButton(QWidget* parent, const char* name, int left, int top, int width)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(left, top, width, kButtonHeight);
    // Enter in the index field must not press a button behind the user's back.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void MappingEditor::buildLayout()
{
    const bool emergency = m_model.format().kind == MappingKind::Emergency;

    m_title = new QFrame(this);
    m_title->setObjectName("P_Title");
    m_title->setFrameShape(QFrame::StyledPanel);
    m_title->setGeometry(0, 0, kClientWidth, 56);
    m_swCode = addLabel(m_title, "L_SW_Code", kLeft, 4, 300);
    QFont codeFont = m_swCode->font();
    codeFont.setPointSize(16);
    m_swCode->setFont(codeFont);
    m_swCode->setStyleSheet("color: grey;");
    m_swCode->resize(300, 28);
    m_swDesc = addLabel(m_title, "L_SW_Desc", kLeft, 34, 600);
    QFont bold = m_swDesc->font();
    bold.setBold(true);
    m_swDesc->setFont(bold);

    m_frameDesc1 = addLabel(this, "L_CAN_Frame_Desc1", kLeft, 64, kColumnWidth);
    m_frameDesc1->setFont(bold);
    // Placed so that its words start where the list draws its columns.
    m_frameDesc2 = addLabel(this, "L_CAN_Frame_Desc2", kLeft + 1, 82, kColumnWidth);
    m_frames = new QListWidget(this);
    m_frames->setObjectName(emergency ? "LB_EMCY_Frames" : "LB_CAN_Frames");
    m_frames->setGeometry(kLeft, 100, kColumnWidth, 150);
    m_frames->setSelectionMode(QAbstractItemView::SingleSelection);
    m_frameColumns = new TabStopDelegate(m_frames);
    m_frames->setItemDelegate(m_frameColumns);

    m_modRegDesc1 = addLabel(this, "L_Mod_Reg_Desc1", kLeft, 258, kColumnWidth);
    m_modRegDesc1->setFont(bold);
    m_modRegDesc2 = addLabel(this, "L_Mod_Reg_Desc2", kLeft, 276, kColumnWidth);
    m_entries = new QListWidget(this);
    m_entries->setObjectName("LB_Modbus_Regs");
    m_entries->setGeometry(kLeft, 294, kColumnWidth, 140);
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);

    m_modIndDesc1 = addLabel(this, "L_Mod_Ind_Desc1", kRight, 64, 297);
    m_modIndDesc1->setFont(bold);
    m_modIndDesc2 = addLabel(this, "L_Mod_Ind_Desc2", kRight, 88, 297);
    m_index = new QLineEdit(this);
    m_index->setObjectName("E_Index_Modbus");
    m_index->setGeometry(kRight, 106, kFieldWidth, kFieldHeight);
    m_highDesc1 = addLabel(this, "L_High_Part_Desc1", kRight, 140, 297);
    m_highDesc2 = addLabel(this, "L_High_Part_Desc2", kRight, 156, 297);
    m_high = new QComboBox(this);
    m_high->setObjectName("CB_Byte_High_Part");
    m_high->setGeometry(kRight, 174, kFieldWidth, kFieldHeight);
    m_lowDesc1 = addLabel(this, "L_Low_Part_Desc1", kRight, 208, 297);
    m_lowDesc2 = addLabel(this, "L_Low_Part_Desc2", kRight, 224, 297);
    m_low = new QComboBox(this);
    m_low->setObjectName("CB_Byte_Low_Part");
    m_low->setGeometry(kRight, 242, kFieldWidth, kFieldHeight);
    for (QWidget* field :
         {static_cast<QWidget*>(m_index), static_cast<QWidget*>(m_high), static_cast<QWidget*>(m_low)})
        paintGreen(field);
    if (m_model.format().hasWrite) {
        m_sendOnWrite = addLabel(this, "L_Send_on_Write", kRight, 276, 297);
        m_write = new QComboBox(this);
        m_write->setObjectName("CB_SendCAN_OnModWrite");
        m_write->setGeometry(kRight, 294, kFieldWidth, kFieldHeight);
        paintGreen(m_write);
    }

    m_create = addButton(this, "Btn_Create", kRight, 350, kButtonWidth);
    m_modify = addButton(this, "Btn_Modify", kRight + kButtonStep, 350, kButtonWidth);
    m_delete = addButton(this, "Btn_Delete", kRight + 2 * kButtonStep, 350, kButtonWidth);
    m_copy = addButton(this, "Btn_Copy", kRight, 390, kButtonWidth);
    m_paste = addButton(this, "Btn_Paste", kRight + kButtonStep, 390, kButtonWidth);
    connect(m_create, &QPushButton::clicked, this, &MappingEditor::addEntry);
    connect(m_modify, &QPushButton::clicked, this, &MappingEditor::modifyEntry);
    connect(m_delete, &QPushButton::clicked, this, &MappingEditor::deleteEntry);
    connect(m_copy, &QPushButton::clicked, this, &MappingEditor::copyEntry);
    connect(m_paste, &QPushButton::clicked, this, &MappingEditor::pasteEntry);
    m_fillFrame = addButton(this, "Btn_Fill_Frame", kRight + 2 * kButtonStep, 390, kButtonWidth);
    connect(m_fillFrame, &QPushButton::clicked, this, &MappingEditor::onFillFrameClicked);
    // Ctrl+Z takes back the last Create, Modify, Fill Frame or Delete; the index field keeps
    // its own undo of the typing while it has the focus.
    auto* undo = new QAction(this);
    undo->setObjectName("A_Undo");
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WindowShortcut);
    addAction(undo);
    connect(undo, &QAction::triggered, this, &MappingEditor::undoLastEdit);

    m_buttons = new QFrame(this);
    m_buttons->setObjectName("P_Button");
    m_buttons->setFrameShape(QFrame::StyledPanel);
    m_buttons->setGeometry(0, kClientHeight - 50, kClientWidth, 50);
    m_ok = addButton(m_buttons, "Btn_OK", 400, 10, 100);
    m_cancel = addButton(m_buttons, "Btn_Cancel", 512, 10, 100);
    connect(m_ok, &QPushButton::clicked, this, &MappingEditor::onOkClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // A click, or a move of the selection with the keys, counts as a click in the list.
    connect(m_frames, &QListWidget::itemSelectionChanged, this, &MappingEditor::onFrameClicked);
    connect(m_frames, &QListWidget::itemClicked, this, &MappingEditor::onFrameClicked);
    connect(m_entries, &QListWidget::itemSelectionChanged, this, &MappingEditor::onEntryClicked);
    connect(m_entries, &QListWidget::itemClicked, this, &MappingEditor::onEntryClicked);
}

QString MappingEditor::editorText(MappingText text) const
{
    return this->text(m_model.format().textIndex(text));
}

void MappingEditor::applyTexts()
{
    setWindowTitle(editorText(MappingText::Caption));
    if (m_model.format().kind == MappingKind::Emergency) {
        m_high->setToolTip(text(TextId::TipEmergencyBytes));
        m_low->setToolTip(text(TextId::TipEmergencyBytes));
    }
    m_swDesc->setText(editorText(MappingText::SwDesc));
    m_frameDesc1->setText(editorText(MappingText::FrameDesc1));
    m_frameDesc2->setText(editorText(MappingText::FrameDesc2));
    m_modRegDesc1->setText(editorText(MappingText::ModRegDesc1));
    m_modRegDesc2->setText(editorText(MappingText::ModRegDesc2));
    m_modIndDesc1->setText(editorText(MappingText::ModIndDesc1));
    m_modIndDesc2->setText(editorText(MappingText::ModIndDesc2));
    m_highDesc1->setText(editorText(MappingText::HighPartDesc1));
    m_highDesc2->setText(editorText(MappingText::HighPartDesc2));
    m_lowDesc1->setText(editorText(MappingText::LowPartDesc1));
    m_lowDesc2->setText(editorText(MappingText::LowPartDesc2));
    m_create->setText(editorText(MappingText::Create));
    m_modify->setText(editorText(MappingText::Modify));
    m_delete->setText(editorText(MappingText::Delete));
    m_copy->setText(editorText(MappingText::Copy));
    m_paste->setText(editorText(MappingText::Paste));
    m_ok->setText(editorText(MappingText::Ok));
    m_cancel->setText(editorText(MappingText::Cancel));
    m_fillFrame->setText(text(TextId::FillFrame));
    if (m_write) {
        m_sendOnWrite->setText(editorText(MappingText::SendOnWrite));
        m_write->clear();
        m_write->addItem(editorText(MappingText::WriteFalse));
        m_write->addItem(editorText(MappingText::WriteTrue));
        m_write->setCurrentIndex(0);
    }
    updateTabStops();
}

void MappingEditor::updateTabStops()
{
    // The columns start where the words of the title over the list start: a new column title
    // begins after a run of at least two blanks.
    const QString header = m_frameDesc2->text();
    const QFontMetricsF metrics(m_frames->font());
    QList<qreal> stops;
    static const QRegularExpression gap("\\s{2,}(?=\\S)");
    for (auto it = gap.globalMatch(header); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        stops.append(metrics.horizontalAdvance(header.left(match.capturedEnd())));
    }
    if (stops.isEmpty()) {
        const int columns = m_model.format().kind == MappingKind::Emergency ? 2 : 1;
        for (int i = 1; i <= columns; ++i)
            stops.append(90.0 * i);
    }
    m_frameColumns->setTabStops(stops);
    m_frames->viewport()->update();
}

void MappingEditor::startAt(const FindingLocation& location)
{
    m_start = location;
}

int MappingEditor::exec()
{
    const FindingLocation start = std::exchange(m_start, FindingLocation{});
    if (!reload())
        return QDialog::Rejected;
    const MappingPlace place =
        placeOfMappingRow(m_model.format(), m_state.files.*(m_model.format().mapFile), start.row, start.word);
    if (m_model.hasFrame(place.frame)) {
        m_frames->setCurrentRow(place.frame);
        onFrameClicked();
        if (m_model.hasEntry(place.frame, place.entry)) {
            m_entries->setCurrentRow(place.entry);
            onEntryClicked();
        }
    }
    return QDialog::exec();
}

bool MappingEditor::reload()
{
    const Result<void> loaded = m_model.load(m_state.files);
    refreshFrames();
    refreshEntries();
    refreshFields();
    refreshByteLists();
    if (!loaded) {
        messages().error(this, qs(loaded.error().text));
        return false;
    }
    emit framesLoaded();
    return true;
}

int MappingEditor::selectedFrame() const
{
    const int row = selectedRow(m_frames);
    return m_model.hasFrame(row) ? row : -1;
}

int MappingEditor::selectedEntry() const
{
    const int row = selectedRow(m_entries);
    return m_model.hasEntry(selectedFrame(), row) ? row : -1;
}

void MappingEditor::onFrameClicked()
{
    refreshEntries();
    refreshFields();
    refreshByteLists();
    const int frame = selectedFrame();
    const std::optional<std::uint32_t> cobId = frame >= 0 ? m_model.frame(frame).cobIdNumber() : std::nullopt;
    emit frameSelected(frame, cobId ? static_cast<qint64>(*cobId) : -1);
}

void MappingEditor::onEntryClicked()
{
    refreshFields();
}

bool MappingEditor::hasChanges() const
{
    return m_model.hasUnsavedChanges();
}

void MappingEditor::reject()
{
    if (hasChanges() && !messages().question(this, text(TextId::DiscardChanges)))
        return;
    SetforgeDialog::reject();
}

void MappingEditor::onOkClicked()
{
    // Entries beyond their frame or of a missing frame cannot be saved as they are.
    const std::vector<std::string> dropped = m_model.entriesDroppedOnSave(m_state.texts);
    if (!dropped.empty()) {
        QString question = text(TextId::MappingDropQuestion);
        for (const std::string& line : dropped)
            question += "\n" + qs(line);
        if (!messages().question(this, question))
            return;
        m_model.dropEntriesOutsideFrames();
        refreshFrames();
        refreshEntries();
    }
    ProjectDocuments docs(m_state.files);
    const std::vector<RegisterConflict> shared =
        registersSharedWithOtherTables(m_model, docs, ProjectDocuments::fileOf(m_model.format().mapFile));
    // The conflicts the question names are not listed again after the save.
    QStringList asked;
    if (!shared.empty()) {
        MessageList question;
        question.kind = MessageList::Kind::Question;
        question.text = text(TextId::SharedRegisterWarning);
        question.buttons = MessageList::Buttons::YesNo;
        for (const RegisterConflict& conflict : shared) {
            question.items << qs(describeConflict(conflict));
            // The project check names the same register with the claimants in its own words.
            asked << "error: " + qs(describeConflict(RegisterConflict{conflict.reg, {}}));
        }
        // No goes back to the editor; the registers may be shared on purpose.
        if (!messages().list(this, question))
            return;
    }
    const SaveCheck check(m_state);
    const Result<void> saved = m_model.save(m_state.files);
    if (!saved) {
        messages().error(this, qs(saved.error().text));
        return;
    }
    m_model.markSaved();
    if (!check.reviewAfterSave(this, asked))
        return;
    accept();
}

void MappingEditor::refreshFrames()
{
    const QSignalBlocker blocker(m_frames);
    m_frames->clear();
    for (int i = 0; i < m_model.frameCount(); ++i)
        m_frames->addItem(qs(m_model.frame(i).listLine()));
    // Entries whose frame is gone stay visible, marked, below the frames.
    for (int g = 0; g < static_cast<int>(m_model.missingFrames().size()); ++g) {
        auto* item = new QListWidgetItem(qs(m_model.missingFrameLine(g, m_state.texts)), m_frames);
        item->setForeground(kMarkedLine);
    }
}

int MappingEditor::selectedMissingFrame() const
{
    const int group = selectedRow(m_frames) - m_model.frameCount();
    return group >= 0 && group < static_cast<int>(m_model.missingFrames().size()) ? group : -1;
}

void MappingEditor::setFrameToolTip(int frame, const QString& tip)
{
    if (QListWidgetItem* item = m_frames->item(frame))
        item->setToolTip(wrappedTip(tip));
}

void MappingEditor::setByteToolTip(int byteNumber, const QString& tip)
{
    // Item k is "Byte k"; item 0 is "None".
    for (QComboBox* box : {m_high, m_low})
        if (byteNumber >= 1 && byteNumber < box->count())
            box->setItemData(byteNumber, wrappedTip(tip), Qt::ToolTipRole);
}

void MappingEditor::refreshEntries()
{
    const QSignalBlocker blocker(m_entries);
    m_entries->clear();
    const int frame = selectedFrame();
    if (const int group = selectedMissingFrame(); group >= 0) {
        for (int k = 0;
             k < static_cast<int>(m_model.missingFrames()[static_cast<std::size_t>(group)].entries.size());
             ++k) {
            auto* item =
                new QListWidgetItem(qs(m_model.missingEntryLine(group, k, m_state.texts)), m_entries);
            item->setForeground(kMarkedLine);
        }
        return;
    }
    if (frame < 0)
        return;
    const std::vector<RegisterEntry>& entries = m_model.frame(frame).entries;
    for (int k = 0; k < static_cast<int>(entries.size()); ++k) {
        auto* item = new QListWidgetItem(qs(m_model.markedEntryLine(frame, k, m_state.texts)), m_entries);
        if (!m_model.entryFits(frame, entries[static_cast<std::size_t>(k)]))
            item->setForeground(kMarkedLine);
    }
}

void MappingEditor::refreshFields()
{
    const int frame = selectedFrame();
    const int entry = selectedEntry();
    if (entry < 0) {
        // The write choice stays as it was.
        m_index->clear();
        m_high->setCurrentIndex(0);
        m_low->setCurrentIndex(0);
        return;
    }
    RegisterEntry shown = m_model.frame(frame).entries[static_cast<std::size_t>(entry)];
    // A byte the frame no longer offers shows as "None", which is what Modify would store.
    shown.highPart = m_model.fitPart(frame, shown.highPart);
    shown.lowPart = m_model.fitPart(frame, shown.lowPart);
    showFields(shown);
}

void MappingEditor::refreshByteLists()
{
    const QStringList choices = [&] {
        QStringList list;
        for (const std::string& choice : m_model.byteChoices(selectedFrame(), m_state.texts))
            list.append(qs(choice));
        return list;
    }();
    for (QComboBox* box : {m_high, m_low}) {
        box->clear();
        box->addItems(choices);
        box->setCurrentIndex(0);
    }
    if (m_write)
        m_write->setCurrentIndex(0);
}

RegisterEntry MappingEditor::typedEntry() const
{
    return {us(m_index->text()), m_high->currentIndex(), m_low->currentIndex(),
            m_write ? m_write->currentIndex() : 0};
}

void MappingEditor::showFields(const RegisterEntry& entry)
{
    m_index->setText(qs(entry.registerIndex));
    selectItem(m_high, entry.highPart);
    selectItem(m_low, entry.lowPart);
    if (m_write)
        selectItem(m_write, entry.sendOnWrite);
}

void MappingEditor::report(const MappingEditResult& result)
{
    if (result.outcome == MappingEditResult::Outcome::Refused)
        messages().error(this, qs(result.message));
    else if (result.done())
        refreshEntries();
}

void MappingEditor::addEntry()
{
    report(m_model.addEntry(selectedFrame(), typedEntry(), m_state.texts));
}

void MappingEditor::modifyEntry()
{
    // The fields cannot show a byte the frame no longer has, so Modify would drop it silently.
    const std::vector<std::string> dropped =
        m_model.bytesBeyondFrame(selectedFrame(), selectedEntry(), typedEntry(), m_state.texts);
    if (!dropped.empty()) {
        QString question = text(TextId::DroppedByteQuestion);
        for (const std::string& name : dropped)
            question += "\n" + qs(name);
        if (!messages().question(this, question))
            return;
    }
    report(m_model.modifyEntry(selectedFrame(), selectedEntry(), typedEntry(), m_state.texts));
}

void MappingEditor::deleteEntry()
{
    if (m_model.deleteEntry(selectedFrame(), selectedEntry()).done())
        refreshEntries();
}

void MappingEditor::copyEntry()
{
    m_model.copyEntry(selectedFrame(), selectedEntry());
}

void MappingEditor::onFillFrameClicked()
{
    const int frame = selectedFrame();
    if (frame < 0)
        return;
    bool ok = false;
    const int first = QInputDialog::getInt(this, m_fillFrame->text(), text(TextId::FillFramePrompt),
                                           m_model.fillFrameStart(frame), 0, 65535, 1, &ok);
    if (ok)
        fillFrame(frame, first);
}

void MappingEditor::fillFrame(int frame, int firstRegister)
{
    // The send-on-write choice in the fields applies to every filled register.
    const int write = m_write ? m_write->currentIndex() : 0;
    report(
        m_model.fillFrame(frame, firstRegister, write, m_state.texts, m_state.texts[TextId::FillFrameInUse]));
}

void MappingEditor::undoLastEdit()
{
    const int frame = m_model.undo();
    if (frame < 0)
        return;
    if (selectedFrame() != frame)
        m_frames->setCurrentRow(frame); // lists the frame's entries as they are now
    else
        refreshEntries();
}

void MappingEditor::pasteEntry()
{
    showFields(m_model.pasteEntry(selectedFrame()));
}

} // namespace setforge
