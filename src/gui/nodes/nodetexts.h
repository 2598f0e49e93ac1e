#pragma once

namespace setforge {

// Indexes of the remote-node texts in UI_Texts (block 1440-1479).
namespace NodeText {
inline constexpr int PickObject = 1440, BrowserCaption = 1441, Node = 1442, AddEds = 1443, RemoveNode = 1444,
                     Filter = 1445, ColumnIndex = 1446, ColumnSub = 1447, ColumnName = 1448,
                     ColumnDataType = 1449, ColumnAccess = 1450, ColumnPdo = 1451, HighWord = 1452, Ok = 1453,
                     Cancel = 1454, UnfitText = 1455, UnfitDomain = 1456, UnfitSize = 1457,
                     NodeIdQuestion = 1458, NoRoomBelow = 1459, NoFreeAddress = 1460, HighWordSuffix = 1461,
                     FillFromTransmit = 1462, FillFromReceive = 1463, PdoCaption = 1464, PdoColumnPdo = 1465,
                     PdoColumnCobId = 1466, PdoColumnType = 1467, PdoColumnBytes = 1468,
                     PdoColumnMapped = 1469, NoNodeYet = 1470, RemoveQuestion = 1471, Yes = 1472, No = 1473,
                     CatalogueUnreadable = 1474, EdsFileKind = 1475, EdsUnreadable = 1476;
}

} // namespace setforge
