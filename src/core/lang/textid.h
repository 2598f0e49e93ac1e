#pragma once

namespace setforge {

// The numbers of the texts the code names directly, by what each text says. Every window owns
// a block of numbers (main window 0.., new project 100.., open project 200.., options 300..,
// communication 400.., SDO 500.., emergencies 700.., receive PDOs 900.., transmit PDOs 1100..,
// node guarding 1300.., update 1500..); the hints of the table columns (150..), the units and
// ranges of the communication parameters (250..), the grids (1340..) and the report (1420..)
// have blocks of their own. Language files replace texts by these numbers, so a number never
// changes its meaning. Texts reached by counting from a block's first number (table headers,
// mapping editor texts) are named by their first number only. Every name here is checked
// against its built-in text in tests/core/textid_test.cpp.
namespace TextId {

// "No text" where a control has a caption but no hint, or the other way round.
inline constexpr int None = -1;

// Main window.
inline constexpr int MainBegin = 0;
inline constexpr int MainFirstStep = 1; // "Step 1"; steps 1 to 8 follow one another
inline constexpr int MainNoProjectOpen = 9;
inline constexpr int MainHowToOpenProject = 10;
inline constexpr int MainProjectOpen = 11;
inline constexpr int MainInformationHint = 12;
inline constexpr int MainOptionsHint = 13;
inline constexpr int MainCloseHint = 14;
inline constexpr int MainNewProject = 15;
inline constexpr int MainOpenProject = 16;
inline constexpr int MainUpdateDevice = 17;
inline constexpr int ProjectNotValid = 18;
inline constexpr int MainNewVersionLink = 19;
inline constexpr int MainSetCommunication = 20;
inline constexpr int MainNinthStep = 21;
inline constexpr int MainSetSdo = 22;
inline constexpr int MainSetEmergency = 24;
inline constexpr int MainDefineEmergency = 25;
inline constexpr int MainSetReceivePdo = 26;
inline constexpr int MainDefineReceivePdo = 27;
inline constexpr int MainSetTransmitPdo = 28;
inline constexpr int MainDefineTransmitPdo = 29;
inline constexpr int MainSetNodeGuarding = 30;
inline constexpr int MainEdsFile = 31;

// New project.
inline constexpr int NewProjectTitle = 100;
inline constexpr int NewProjectDescription = 101;
inline constexpr int NewProjectName = 102;
inline constexpr int NewProjectOk = 103;
inline constexpr int NewProjectCancel = 104;
inline constexpr int ProjectNameCannotBeCreated = 105;
inline constexpr int ProjectNameExists = 106;
inline constexpr int ProjectNameEmpty = 107;
inline constexpr int NewProjectNameHint = 108;
inline constexpr int NewProjectOkHint = 109;
inline constexpr int NewProjectCancelHint = 110;

// Hints of the table columns, shared where two tables have the same column.
inline constexpr int TipRowNumber = 150;
inline constexpr int TipSdoAddress = 151;
inline constexpr int TipSdoHiByte = 152;
inline constexpr int TipSdoLoByte = 153;
inline constexpr int TipSdoReadWrite = 154;
inline constexpr int TipSdoDeviceId = 155;
inline constexpr int TipSdoIndex = 156;
inline constexpr int TipSdoSubIndex = 157;
inline constexpr int TipSdoNByte = 158;
inline constexpr int TipMnemonic = 159;
inline constexpr int TipEmcyDeviceId = 160;
inline constexpr int TipEmcyErrorCode = 161;
inline constexpr int TipEmcyErrorRegister = 162;
inline constexpr int TipNodeGuardDeviceId = 163;
inline constexpr int TipNodeGuardGuardTime = 164;
inline constexpr int TipNodeGuardLifeTimeFactor = 165;
inline constexpr int TipPdoCobId = 166;
inline constexpr int TipPdoDimension = 167;
inline constexpr int TipRpdoTimeout = 168;
inline constexpr int TipTpdoAddress = 169;
inline constexpr int TipTpdoOnChange = 170;
inline constexpr int TipTpdoOnTimer = 171;
inline constexpr int TipTpdoTimer = 172;
inline constexpr int TipEmergencyBytes = 173; // which message bytes Byte 1..5 of an emergency are

// Open project.
inline constexpr int OpenProjectTitle = 200;
inline constexpr int OpenProjectDescription = 201;
inline constexpr int OpenProjectList = 202;
inline constexpr int OpenProjectOk = 203;
inline constexpr int OpenProjectCancel = 204;
inline constexpr int OpenProjectListHint = 205;
inline constexpr int OpenProjectOkHint = 206;
inline constexpr int OpenProjectCancelHint = 207;

// Second lines of the communication parameters' hints: the unit and the range the check accepts.
inline constexpr int UnitCanopenId = 250;
inline constexpr int UnitCanopenBaud = 251;
inline constexpr int UnitNetworkStartDelay = 252;
inline constexpr int UnitModbusRegister = 253;
inline constexpr int UnitSdoTimeout = 254;
inline constexpr int UnitSyncTime = 255;
inline constexpr int UnitModbusBaud = 256;
inline constexpr int UnitModbusId = 257;
inline constexpr int UnitInactivityTimeout = 258;
inline constexpr int UnitAddressByte = 259;

// Options.
inline constexpr int OptionsTitle = 300;
inline constexpr int OptionsDescription = 301;
inline constexpr int OptionsLanguageTab = 302;
inline constexpr int OptionsConnectionTab = 303;
inline constexpr int OptionsSelectedLanguage = 304;
inline constexpr int OptionsPage = 305;
inline constexpr int OptionsPageOf = 306;
inline constexpr int OptionsPrevious = 307;
inline constexpr int OptionsNext = 308;
inline constexpr int OptionsEnableInternet = 309;
inline constexpr int OptionsCheckAtStart = 310;
inline constexpr int OptionsCheckNow = 311;
inline constexpr int OptionsOk = 312;
inline constexpr int OptionsCancel = 313;
inline constexpr int OptionsNewVersionLink = 314;
inline constexpr int OptionsNoUpdate = 315;
inline constexpr int ChangeLanguageFrom = 316; // "Do you want to change the Language from "
inline constexpr int ChangeLanguageTo = 317;   // " to "
inline constexpr int ChangeLanguageEnd = 318;  // "?"
inline constexpr int OptionsSettingsTab = 319;
inline constexpr int OptionsJumpOnEnter = 320;
inline constexpr int OptionsAutoSize = 321;

// Communication parameters.
inline constexpr int CommunicationTitle = 400;
inline constexpr int CommunicationDescription = 401;
inline constexpr int CommunicationOk = 402;
inline constexpr int CommunicationCancel = 403;
inline constexpr int CommunicationOkHint = 404;
inline constexpr int CommunicationCancelHint = 405;
inline constexpr int DevicePanel = 406;
inline constexpr int DeviceType = 407;
inline constexpr int DeviceTypeHint = 408;
inline constexpr int CanopenPanel = 409;
inline constexpr int CanopenId = 410;
inline constexpr int CanopenIdHint = 411;
inline constexpr int CanopenBaud = 412;
inline constexpr int CanopenBaudHint = 413;
inline constexpr int OperationalAtStart = 414;
inline constexpr int OperationalAtStartHint = 415;
inline constexpr int NetworkStart = 416;
inline constexpr int NetworkStartHint = 417;
inline constexpr int NetworkStartDelayHint = 418;
inline constexpr int StartOnModbus = 419;
inline constexpr int StartOnModbusHint = 420;
inline constexpr int StartOnModbusAddressHint = 421;
inline constexpr int SdoTimeout = 422;
inline constexpr int SdoTimeoutHint = 423;
inline constexpr int Sync = 424;
inline constexpr int SyncHint = 425;
inline constexpr int SyncTimeHint = 426;
inline constexpr int Nodeguard = 427;
inline constexpr int NodeguardHint = 428;
inline constexpr int NodeguardAddress1 = 429;
inline constexpr int NodeguardAddress1Hint = 430;
inline constexpr int NodeguardAddress2 = 431;
inline constexpr int NodeguardAddress2Hint = 432;
inline constexpr int ModbusPanel = 433;
inline constexpr int ModbusSerial = 434;
inline constexpr int ModbusSerialHint = 435;
inline constexpr int ModbusBaud = 436;
inline constexpr int ModbusBaudHint = 437;
inline constexpr int ModbusParity = 438;
inline constexpr int ModbusParityHint = 439;
inline constexpr int ModbusStopBits = 440;
inline constexpr int ModbusStopBitsHint = 441;
inline constexpr int ModbusId = 442;
inline constexpr int ModbusIdHint = 443;
inline constexpr int ModbusProtocol = 444;
inline constexpr int ModbusProtocolHint = 445;
inline constexpr int EthernetPanel = 446;
inline constexpr int EthernetIp = 447;
inline constexpr int EthernetFirstIpByteHint = 448; // the four byte hints follow
inline constexpr int EthernetMask = 452;
inline constexpr int EthernetFirstMaskByteHint = 453;
inline constexpr int EthernetGateway = 457;
inline constexpr int EthernetGatewayHint = 458;
inline constexpr int EthernetFirstGatewayByteHint = 459;
// The checks of the communication parameters, in the order they run.
inline constexpr int CanopenIdRange = 467;
inline constexpr int NetworkStartDelayRange = 468;
inline constexpr int StartOnModbusAddressRange = 469;
inline constexpr int SdoTimeoutRange = 470;
inline constexpr int SyncTimeRange = 471;
inline constexpr int NodeguardAddress1Range = 472;
inline constexpr int NodeguardAddress2Range = 473;
inline constexpr int ModbusIdRange = 474;
inline constexpr int IpByte1Range = 475;
inline constexpr int IpByte2Range = 476;
inline constexpr int IpByte3Range = 477;
inline constexpr int IpByte4Range = 478;
inline constexpr int MaskByte1Range = 479;
inline constexpr int MaskByte2Range = 480;
inline constexpr int MaskByte3Range = 481;
inline constexpr int MaskByte4Range = 482;
inline constexpr int GatewayByte1Range = 483;
inline constexpr int GatewayByte2Range = 484;
inline constexpr int GatewayByte3Range = 485;
inline constexpr int GatewayByte4Range = 486;
inline constexpr int ExitWithoutSaving = 489;
inline constexpr int ModbusInactivity = 490;
inline constexpr int ModbusInactivityHint = 491;
inline constexpr int ModbusInactivityTimeoutHint = 492;
inline constexpr int ModbusInactivityTimeoutRange = 493;

// SDO table.
inline constexpr int SdoFirst = 500;
inline constexpr int SdoAddressRange = 517;
inline constexpr int SdoAddressUsed = 518;
inline constexpr int SdoHiByteRange = 519;
inline constexpr int SdoLoByteRange = 520;
inline constexpr int SdoReadWriteBlank = 521;
inline constexpr int SdoDeviceIdRange = 522;
inline constexpr int SdoIndexRange = 523;
inline constexpr int SdoSubIndexRange = 524;
inline constexpr int SdoNByteChoice = 525;
inline constexpr int SdoLast = 526; // the delete confirmation

// Emergency table.
inline constexpr int EmcyFirst = 700;
inline constexpr int EmcyDeviceIdRange = 712;
inline constexpr int EmcyErrorCodeRange = 713;
inline constexpr int EmcyErrorRegisterRange = 714;
inline constexpr int EmcyLast = 715;

// Mapping editors.
inline constexpr int EmcyMappingFirst = 800;
inline constexpr int ReceivePdoMappingFirst = 1000;
inline constexpr int TransmitPdoMappingFirst = 1200;

// Receive PDO table.
inline constexpr int RpdoFirst = 900;
inline constexpr int RpdoCobIdRange = 912;
inline constexpr int RpdoDimensionRange = 913;
inline constexpr int RpdoTimeoutRange = 914;
inline constexpr int RpdoLast = 915;

// Transmit PDO table.
inline constexpr int TpdoFirst = 1100;
inline constexpr int TpdoCobIdRange = 1115;
inline constexpr int TpdoDimensionRange = 1116;
inline constexpr int TpdoAddressRange = 1117;
inline constexpr int TpdoAddressBlockEnd = 1118;
inline constexpr int TpdoAddressUsed = 1119;
inline constexpr int TpdoTimerRange = 1120;
inline constexpr int TpdoLast = 1121;

// Node-guarding table.
inline constexpr int NodeGuardFirst = 1300;
inline constexpr int NodeGuardDeviceIdRange = 1312;
inline constexpr int NodeGuardGuardTimeRange = 1313;
inline constexpr int NodeGuardLifeTimeFactorRange = 1314;
inline constexpr int NodeGuardLast = 1315;

// The grids of the table dialogs and mapping editors.
inline constexpr int PasteRefusedHeading = 1340;   // heading of the refused-paste message
inline constexpr int PasteRefusedRow = 1341;       // "Row " before a refused cell's row number
inline constexpr int PasteRefusedMore = 1342;      // before the count of refused cells not listed
inline constexpr int DiscardChanges = 1343;        // question on Cancel, Escape or close with edits
inline constexpr int DroppedByteQuestion = 1344;   // Modify with a byte past the frame
inline constexpr int FillFrame = 1345;             // "Fill Frame..." button
inline constexpr int FillFramePrompt = 1346;       // asks for the first register
inline constexpr int FillFrameInUse = 1347;        // registers already in use
inline constexpr int SharedRegisterWarning = 1348; // OK with registers other tables use

// Mapping editors: the marks of entries OK would drop, the send-on-write flag; the variant
// switch of the communication parameters; node guarding off; a paste past the last row.
inline constexpr int MappingMarkBeyond = 1365;   // after the line of an entry with a byte beyond its frame
inline constexpr int MappingMarkMissing = 1366;  // after the line of an entry whose frame is missing
inline constexpr int MappingMissingFrame = 1367; // frame list line of a missing frame, before its number
inline constexpr int MappingDropQuestion = 1368; // OK with marked entries; they follow, one a line
inline constexpr int MappingFrameLabel = 1369;   // "Frame " before a frame's number
inline constexpr int MappingSendOnWrite = 1370;  // the send-on-write flag in an entry line
inline constexpr int VariantSwitched = 1371;     // heading of the variant switch message
inline constexpr int VariantNeeds = 1372;
inline constexpr int VariantHides = 1373;
inline constexpr int VariantRpdoTimeouts = 1374;
inline constexpr int VariantTpdoTriggers = 1375;
inline constexpr int VariantTpdoMapping = 1376;
inline constexpr int VariantAddressStarts = 1377;
inline constexpr int VariantRows = 1378;         // "rows " before row numbers
inline constexpr int VariantOfferMapping = 1379; // the question that turns Address Start blocks into entries
inline constexpr int VariantMappingNotFilled = 1380; // heading of the frames that could not be filled
inline constexpr int VariantMappingFilled = 1381;    // "%1" takes the number of filled frames
inline constexpr int NodeGuardingOff = 1382;
inline constexpr int PasteRowsDidNotFit = 1383; // before the number of rows past the last row

// Update Device: the project check before an update, and the updater's wait.
inline constexpr int CheckFoundProblems = 1360;
inline constexpr int UpdateAnyway = 1361;
inline constexpr int UpdaterEnded = 1362; // "%1" takes the updater's exit code
inline constexpr int UpdaterStillRunning = 1363;
inline constexpr int UpdaterWaiting = 1364; // "%1" takes the seconds waited

// About window: the caption of the workspace folder in use.
inline constexpr int AboutWorkspaceBeside = 1410;
inline constexpr int AboutWorkspaceUserData = 1411;

// The register map report: its step button and the save window.
inline constexpr int MainReport = 1420;
inline constexpr int ReportHtmlFilter = 1421;
inline constexpr int ReportCsvFilter = 1422;
inline constexpr int ReportSaveCaption = 1423;

// The register map report: what writing it ended in ("%1" takes the chosen file).
inline constexpr int ReportNotWritten = 1412;
inline constexpr int ReportWritten = 1413;
// The updater's verdict, as both front ends word it from its exit code ("%1").
inline constexpr int UpdaterReportedSuccess = 1424;
inline constexpr int UpdaterReportedFailure = 1425;

// The virtual converter window and its step button.
inline constexpr int SimCaption = 1580;
inline constexpr int MainSimulate = 1581;
inline constexpr int SimPort = 1582;
inline constexpr int SimStart = 1583;
inline constexpr int SimStop = 1584;
inline constexpr int SimLoadTrace = 1585;
inline constexpr int SimSaveTrace = 1586;
inline constexpr int SimFirstColumn = 1587; // Register, Hex, Decimal, Source, CANopen Side, Last Access
inline constexpr int SimRead = 1593;
inline constexpr int SimWrite = 1594;
inline constexpr int SimPortError = 1595; // the reason follows
inline constexpr int SimNoProject = 1596;

// Update.
inline constexpr int UpdateSerialTitle = 1500;
inline constexpr int UpdateSerialDescription = 1501;
inline constexpr int UpdateEthernetTitle = 1502;
inline constexpr int UpdateEthernetDescription = 1503;
inline constexpr int UpdateIpAddress = 1506;
inline constexpr int UpdateComPort = 1507;
inline constexpr int UpdateOptions = 1514;
inline constexpr int UpdateFirmwareAndConfiguration = 1515;
inline constexpr int UpdateFirmware = 1516;
inline constexpr int UpdateConfiguration = 1517;
inline constexpr int UpdateReadBack = 1518;
inline constexpr int UpdateCancel = 1519;
inline constexpr int UpdateExecute = 1520;
inline constexpr int UpdateFirstIpByteHint = 1521; // the four byte hints follow
inline constexpr int UpdateComPortHint = 1525;
inline constexpr int UpdateComListHint = 1527;
inline constexpr int UpdateOptionsHint = 1532;
inline constexpr int UpdateReadBackHint = 1533;
inline constexpr int UpdateCancelHint = 1534;
inline constexpr int UpdateExecuteHint = 1535;
inline constexpr int DeviceNotFound = 1536;
inline constexpr int CheckIpAddress = 1537;

// Project checks in the window: the Problems view, the checks on OK and the updater's verdict.
// The main window's button that runs every project check and opens the Problems view.
inline constexpr int MainCheckProject = 1538;
inline constexpr int MainCheckProjectHint = 1539;
inline constexpr int ProblemsCaption = 1540;
inline constexpr int ProblemsFirstColumn = 1541; // Kind, File, Row, Column, Problem
inline constexpr int ProblemsNone = 1546;
inline constexpr int ProblemsHint = 1547;
inline constexpr int ProblemsClose = 1548;
inline constexpr int ProblemsKindWarning = 1549;
inline constexpr int ProblemsKindError = 1550;
inline constexpr int SavedWithNewProblems = 1551; // after OK of a table dialog or mapping editor
inline constexpr int ListGoBack = 1552;
inline constexpr int CheckFoundWarnings = 1553; // before an update, with no error
inline constexpr int UpdateProjectIp = 1556;    // "%1" takes the project's own address
inline constexpr int UpdateProjectIpHint = 1557;
inline constexpr int ProblemsCheckAgain = 1558;

// Remote nodes: the object browser, the node's PDO list and the node catalogue.
inline constexpr int NodePickObject = 1440;
inline constexpr int NodeBrowserCaption = 1441;
inline constexpr int NodeLabel = 1442;
inline constexpr int NodeAddEds = 1443;
inline constexpr int NodeRemove = 1444;
inline constexpr int NodeFilter = 1445;
inline constexpr int NodeColumnIndex = 1446;
inline constexpr int NodeColumnSub = 1447;
inline constexpr int NodeColumnName = 1448;
inline constexpr int NodeColumnDataType = 1449;
inline constexpr int NodeColumnAccess = 1450;
inline constexpr int NodeColumnPdo = 1451;
inline constexpr int NodeHighWord = 1452;
inline constexpr int NodeOk = 1453;
inline constexpr int NodeCancel = 1454;
inline constexpr int NodeUnfitText = 1455;
inline constexpr int NodeUnfitDomain = 1456;
inline constexpr int NodeUnfitSize = 1457;
inline constexpr int NodeIdQuestion = 1458;
inline constexpr int NodeNoRoomBelow = 1459;
inline constexpr int NodeNoFreeAddress = 1460;
inline constexpr int NodeHighWordSuffix = 1461;
inline constexpr int NodeFillFromTransmit = 1462;
inline constexpr int NodeFillFromReceive = 1463;
inline constexpr int NodePdoCaption = 1464;
inline constexpr int NodePdoColumnPdo = 1465;
inline constexpr int NodePdoColumnCobId = 1466;
inline constexpr int NodePdoColumnType = 1467;
inline constexpr int NodePdoColumnBytes = 1468;
inline constexpr int NodePdoColumnMapped = 1469;
inline constexpr int NodeNoNodeYet = 1470;
inline constexpr int NodeRemoveQuestion = 1471; // the node's number follows
inline constexpr int NodeYes = 1472;
inline constexpr int NodeNo = 1473;
inline constexpr int NodeCatalogueUnreadable = 1474; // the reason follows
inline constexpr int NodeEdsFileKind = 1475;
inline constexpr int NodeEdsUnreadable = 1476; // the reason follows
// Presets and picks: switched-off PDOs, what a preset chose, write-only objects, the catalogue's questions.
inline constexpr int NodePdoOffMark = 1477;     // after a switched-off PDO's name in the list
inline constexpr int NodePdoSwitchedOff = 1478; // why a PDO with COB-ID bit 31 cannot be chosen
inline constexpr int NodePdoMapsNothing = 1479; // why a PDO of length 0 cannot be chosen
inline constexpr int NodeFillTimeout = 1480;    // "%1" the TimeOut, "%2" the event timer
inline constexpr int NodeFillNoTimeout = 1481;  // TimeOut 0 for a PDO without event timer
inline constexpr int NodeFillOnChange = 1482;   // "%1" the transmission type
inline constexpr int NodeFillOnTimer = 1483;    // "%1" the Timer, "%2" the event timer
inline constexpr int NodeFillNoTimer = 1484;    // On Timer not ticked
inline constexpr int NodeFillChosen = 1485;     // heads the lines of what a preset chose
inline constexpr int NodeUnfitWriteOnly = 1486; // why a write-only object is greyed
inline constexpr int NodeOwnNodeId = 1487;      // "%1" the converter's node ID
inline constexpr int NodeReplaceEds = 1488;     // "%1" the node, "%2" its EDS, "%3" the new file
inline constexpr int NodeEdsNoObjects = 1489;   // an EDS without any object

} // namespace TextId

} // namespace setforge
