#pragma once

namespace setforge {

// Indexes of the UI texts that the grids of the table dialogs and mapping editors share.
namespace GridText {

constexpr int kPasteRefusedHeading = 1340;   // heading of the refused-paste message
constexpr int kPasteRefusedRow = 1341;       // "Row " before a refused cell's row number
constexpr int kPasteRefusedMore = 1342;      // before the count of refused cells not listed
constexpr int kDiscardChanges = 1343;        // question on Cancel, Escape or close with edits
constexpr int kDroppedByteQuestion = 1344;   // Modify with a byte past the frame
constexpr int kFillFrame = 1345;             // "Fill Frame..." button
constexpr int kFillFramePrompt = 1346;       // asks for the first register
constexpr int kFillFrameInUse = 1347;        // registers already in use
constexpr int kSharedRegisterWarning = 1348; // OK with registers other tables use
constexpr int kEmergencyBytesTip = 173;      // which message bytes Byte 1..5 of an emergency are

} // namespace GridText

} // namespace setforge
