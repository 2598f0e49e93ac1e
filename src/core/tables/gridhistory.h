#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/tables/grid.h"
#include "core/tables/gridpaste.h"

namespace setforge {

// Undo and redo for one showing of a grid. A change is framed by begin() and commit(); the
// history keeps only the cells the change touched, so a 1500-row table costs one copy of the
// grid while a change runs and a few strings per step afterwards.
class GridHistory {
public:
    // Remembers `grid` as it is before a change. Calls nest: only the outermost pair counts.
    void begin(const Grid& grid);
    // Ends a change: the cells that now differ from begin() become one step and the redo
    // steps are dropped. A change that altered nothing leaves no step. True when a step was
    // recorded. Without a matching begin() it does nothing and returns false.
    bool commit(const Grid& grid);

    // Puts back the cells of the last step: the first cell it touched, or nothing when there
    // is no step. `grid` must be the grid the steps were recorded on.
    std::optional<CellPosition> undo(Grid& grid);
    // Applies again the last undone step, as undo() does.
    std::optional<CellPosition> redo(Grid& grid);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Forgets every step (a new showing starts from the file).
    void clear();

private:
    struct Change {
        CellPosition cell;
        std::string before;
        std::string after;
    };
    using Step = std::vector<Change>;

    static std::optional<CellPosition> apply(const Step& step, Grid& grid, bool forward);

    std::optional<Grid> m_before;
    int m_depth = 0;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
};

} // namespace setforge
