#include "gui/report/problemsview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app/appstate.h"
#include "core/lang/textid.h"
#include "core/report/projectcheck.h"
#include "gui/app/qtext.h"

namespace setforge {

namespace {

enum Column { KindColumn, FileColumn, RowColumn, CellColumn, TextColumn, ColumnCount };

constexpr int kWidth = 760;
constexpr int kHeight = 420;

// The finding without its "warning: " or "error: " that the Kind column says.
QString withoutKind(const std::string& line, bool& isError)
{
    static const std::string kError = "error: ";
    static const std::string kWarning = "warning: ";
    isError = line.rfind(kError, 0) == 0;
    if (isError)
        return qs(line.substr(kError.size()));
    return qs(line.rfind(kWarning, 0) == 0 ? line.substr(kWarning.size()) : line);
}

} // namespace

ProblemsView::ProblemsView(AppState& state, QWidget* parent, std::function<void(const FindingLocation&)> open)
    : SetforgeDialog(state, parent), m_open(std::move(open))
{
    setObjectName("FProblems");
    buildLayout();
    applyTexts();
}

void ProblemsView::buildLayout()
{
    m_hint = new QLabel(this);
    m_hint->setObjectName("L_Problems_Hint");
    m_hint->setWordWrap(true);
    m_list = new QTableWidget(0, ColumnCount, this);
    m_list->setObjectName("SG_Problems");
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    m_list->setWordWrap(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(KindColumn, 80);
    m_list->setColumnWidth(FileColumn, 160);
    m_list->setColumnWidth(RowColumn, 50);
    m_list->setColumnWidth(CellColumn, 100);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openLine(row); });

    m_checkAgain = new QPushButton(this);
    m_checkAgain->setObjectName("Btn_Check_Again");
    m_checkAgain->setAutoDefault(false);
    connect(m_checkAgain, &QPushButton::clicked, this, &ProblemsView::refresh);
    m_close = new QPushButton(this);
    m_close->setObjectName("Btn_Close");
    m_close->setAutoDefault(false);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_checkAgain);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_hint);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    // A fixed size: a long list scrolls inside it.
    setFixedSize(kWidth, kHeight);
}

void ProblemsView::applyTexts()
{
    setWindowTitle(text(TextId::ProblemsCaption));
    QStringList titles;
    for (int column = 0; column < ColumnCount; ++column)
        titles << text(TextId::ProblemsFirstColumn + column);
    m_list->setHorizontalHeaderLabels(titles);
    m_checkAgain->setText(text(TextId::ProblemsCheckAgain));
    m_close->setText(text(TextId::ProblemsClose));
    m_hint->setText(m_locations.empty() ? text(TextId::ProblemsNone) : text(TextId::ProblemsHint));
}

void ProblemsView::refresh()
{
    m_locations.clear();
    m_list->setRowCount(0);
    if (m_state.hasProject()) {
        const std::vector<std::string> lines = findingLines(checkProject(m_state.files, m_state.texts));
        m_list->setRowCount(static_cast<int>(lines.size()));
        for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
            const std::string& line = lines[static_cast<std::size_t>(row)];
            const FindingLocation location = locateFinding(line, m_state.texts);
            bool isError = false;
            const QString problem = withoutKind(line, isError);
            const QString cells[ColumnCount] = {
                text(isError ? TextId::ProblemsKindError : TextId::ProblemsKindWarning),
                qs(location.file),
                location.row > 0 ? QString::number(location.row) : QString(),
                qs(location.columnCaption),
                problem,
            };
            for (int column = 0; column < ColumnCount; ++column) {
                auto* item = new QTableWidgetItem(cells[column]);
                // Rich text, so a long finding wraps instead of running across the screen.
                item->setToolTip("<qt>" + problem.toHtmlEscaped() + "</qt>");
                m_list->setItem(row, column, item);
            }
            m_locations.push_back(location);
        }
    }
    applyTexts();
}

void ProblemsView::openLine(int line)
{
    if (line < 0 || line >= static_cast<int>(m_locations.size()) || m_locations[line].file.empty() || !m_open)
        return;
    m_open(m_locations[static_cast<std::size_t>(line)]);
    // What the user changed there may have mended or made findings.
    refresh();
}

} // namespace setforge
