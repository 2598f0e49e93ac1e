#include "core/lang/textid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "core/lang/defaulttexts.h"
#include "core/lang/uitexts.h"

namespace setforge {

namespace {

// Each named text number against the start of its built-in English text: a name that points at
// the wrong number, or a text that moved, shows here and not as a wrong caption in a window.
struct Case {
    int id;
    const char* name;
    const char* startsWith;
};

#define NAMED(name, startsWith)                                                                              \
    {                                                                                                        \
        TextId::name, #name, startsWith                                                                      \
    }

const Case kCases[] = {
    NAMED(MainBegin, "Begin"),
    NAMED(MainFirstStep, "Step 1"),
    NAMED(MainNoProjectOpen, "None Configuration Opened "),
    NAMED(MainHowToOpenProject, "Use Step1 to open or create new configur"),
    NAMED(MainProjectOpen, "Opened Configuration of the Converter : "),
    NAMED(MainInformationHint, "Information"),
    NAMED(MainOptionsHint, "Options"),
    NAMED(MainCloseHint, "Close Configurator"),
    NAMED(MainNewProject, "New Configuration"),
    NAMED(MainOpenProject, "Open Configuration"),
    NAMED(MainUpdateDevice, "Update Device"),
    NAMED(ProjectNotValid, "Error! Project not Valid"),
    NAMED(MainNewVersionLink, "New Version Available. Click Here for mo"),
    NAMED(MainSetCommunication, "Set Communication"),
    NAMED(MainNinthStep, "Step 9"),
    NAMED(MainSetSdo, "Set Client SDO"),
    NAMED(MainSetEmergency, "Set Emergency"),
    NAMED(MainDefineEmergency, "Define Emergency"),
    NAMED(MainSetReceivePdo, "Set Receive PDO"),
    NAMED(MainDefineReceivePdo, "Define PDO"),
    NAMED(MainSetTransmitPdo, "Set Transmit PDO"),
    NAMED(MainDefineTransmitPdo, "Define PDO"),
    NAMED(MainSetNodeGuarding, "Set Node Guarding"),
    NAMED(MainEdsFile, "EDS File"),
    NAMED(NewProjectTitle, "Create New Configuration"),
    NAMED(NewProjectDescription, "Create New Configuration"),
    NAMED(NewProjectName, "Name of the new Configuration"),
    NAMED(NewProjectOk, "OK"),
    NAMED(NewProjectCancel, "Cancel"),
    NAMED(ProjectNameCannotBeCreated, "Error! Name project is not valid"),
    NAMED(ProjectNameExists, "Error! Name project is not valid because"),
    NAMED(ProjectNameEmpty, "Error! Name Project is not valid"),
    NAMED(NewProjectNameHint, "Insert here the name of new configuratio"),
    NAMED(NewProjectOkHint, "Confirm the Name of new Configuration"),
    NAMED(NewProjectCancelHint, "Cancel the New Configuration"),
    NAMED(TipRowNumber, "Row number"),
    NAMED(TipSdoAddress, "Modbus register that holds the object's "),
    NAMED(TipSdoHiByte, "Object byte put in the register's high b"),
    NAMED(TipSdoLoByte, "Object byte put in the register's low by"),
    NAMED(TipSdoReadWrite, "Access to the object: ReadOnly or ReadWr"),
    NAMED(TipSdoDeviceId, "CANopen node ID of the remote device. Ra"),
    NAMED(TipSdoIndex, "Index of the object in the remote device"),
    NAMED(TipSdoSubIndex, "Subindex of the object. Range: 0 to 255"),
    NAMED(TipSdoNByte, "Size of the object in bytes: 1, 2 or 4"),
    NAMED(TipMnemonic, "Free text for your own notes; never chec"),
    NAMED(TipEmcyDeviceId, "CANopen node ID that sends the emergency"),
    NAMED(TipEmcyErrorCode, "Error code of the emergency. Range: 0x00"),
    NAMED(TipEmcyErrorRegister, "Error register of the emergency. Range: "),
    NAMED(TipNodeGuardDeviceId, "CANopen node ID of the guarded device. R"),
    NAMED(TipNodeGuardGuardTime, "Time between two guarding requests. Unit"),
    NAMED(TipNodeGuardLifeTimeFactor, "Guard Time times this factor gives the n"),
    NAMED(TipPdoCobId, "COB-ID of the PDO. Range: 0x181 to 0x57F"),
    NAMED(TipPdoDimension, "Number of data bytes of the PDO. Range: "),
    NAMED(TipRpdoTimeout, "Time-out of the PDO. Unit: ms. Range: 0 "),
    NAMED(TipTpdoAddress, "First Modbus register of the PDO's data:"),
    NAMED(TipTpdoOnChange, "Ticked: the PDO is sent whenever its dat"),
    NAMED(TipTpdoOnTimer, "Ticked: the PDO is sent periodically, eve"),
    NAMED(TipTpdoTimer, "Sending period while On Timer is ticked."),
    NAMED(TipEmergencyBytes, "Byte 1 to Byte 5 are bytes 4 to 8 of the"),
    NAMED(OpenProjectTitle, "Open Configuration"),
    NAMED(OpenProjectDescription, "Open an Existing Configuration"),
    NAMED(OpenProjectList, "List of Avaliable Configurations"),
    NAMED(OpenProjectOk, "OK"),
    NAMED(OpenProjectCancel, "Cancel"),
    NAMED(OpenProjectListHint, "Select from this list the configuration "),
    NAMED(OpenProjectOkHint, "Open the Selected Configuration"),
    NAMED(OpenProjectCancelHint, "Cancel open of Configuration"),
    NAMED(UnitCanopenId, "Range: 1 to 127"),
    NAMED(UnitCanopenBaud, "Unit: kbit/s"),
    NAMED(UnitNetworkStartDelay, "Unit: s. Range: 0 to 255"),
    NAMED(UnitModbusRegister, "Modbus register. Range: 0 to 65535"),
    NAMED(UnitSdoTimeout, "Unit: 1/10 ms (10 = 1 ms). Range: 0 to 1"),
    NAMED(UnitSyncTime, "Unit: ms. Range: 1 to 4200000"),
    NAMED(UnitModbusBaud, "Unit: bit/s"),
    NAMED(UnitModbusId, "Range: 1 to 247"),
    NAMED(UnitInactivityTimeout, "Unit: ms. Range: 1000 to 1000000000"),
    NAMED(UnitAddressByte, "Range: 0 to 255"),
    NAMED(OptionsTitle, "Software Options"),
    NAMED(OptionsDescription, "Software Options"),
    NAMED(OptionsLanguageTab, "Language"),
    NAMED(OptionsConnectionTab, "Connection Options"),
    NAMED(OptionsSelectedLanguage, "Selected Language : "),
    NAMED(OptionsPage, "Page "),
    NAMED(OptionsPageOf, " / "),
    NAMED(OptionsPrevious, "Previous"),
    NAMED(OptionsNext, "Next"),
    NAMED(OptionsEnableInternet, "Enable Internet Connection"),
    NAMED(OptionsCheckAtStart, "Check Software Update at Start of Progra"),
    NAMED(OptionsCheckNow, "Check Available Update"),
    NAMED(OptionsOk, "OK"),
    NAMED(OptionsCancel, "Cancel"),
    NAMED(OptionsNewVersionLink, "New Version Available. Click Here for mo"),
    NAMED(OptionsNoUpdate, "No Update Available"),
    NAMED(ChangeLanguageFrom, "Do you want to change the Language from "),
    NAMED(ChangeLanguageTo, " to "),
    NAMED(ChangeLanguageEnd, "?"),
    NAMED(OptionsSettingsTab, "Software Settings"),
    NAMED(OptionsJumpOnEnter, "Jump into next field in the tables by pr"),
    NAMED(OptionsAutoSize, "Enable Auto Size of Table Columns by Dou"),
    NAMED(CommunicationTitle, "Set Communication"),
    NAMED(CommunicationDescription, "Set Communication Setting"),
    NAMED(CommunicationOk, "OK"),
    NAMED(CommunicationCancel, "Cancel"),
    NAMED(CommunicationOkHint, "Confirm and Save the current configurati"),
    NAMED(CommunicationCancelHint, "Exit and Discard the current configurati"),
    NAMED(DevicePanel, "Select Device"),
    NAMED(DeviceType, "Type"),
    NAMED(DeviceTypeHint, "Select Device Type between with or witho"),
    NAMED(CanopenPanel, "CANopen"),
    NAMED(CanopenId, "ID Device"),
    NAMED(CanopenIdHint, "Insert the ID Device of CANopen, between"),
    NAMED(CanopenBaud, "Baudrate"),
    NAMED(CanopenBaudHint, "Select Baudrate to use in CANopen Port"),
    NAMED(OperationalAtStart, "Set Operational State at Start-Up"),
    NAMED(OperationalAtStartHint, "Enable/Disable the Possibility to set Op"),
    NAMED(NetworkStart, "Network Start at Start-up. Delay (second"),
    NAMED(NetworkStartHint, "Enable/Disable the Possibility to Send t"),
    NAMED(NetworkStartDelayHint, "Insert the Time from Start of Device Bef"),
    NAMED(StartOnModbus, "CANopen Start on Modbus Command"),
    NAMED(StartOnModbusHint, "Enable/Disable the Possibility to Send S"),
    NAMED(StartOnModbusAddressHint, "Insert the Modbus Register to use for Se"),
    NAMED(SdoTimeout, "SDO Client TimeOut (1/10 millisecons)"),
    NAMED(SdoTimeoutHint, "Insert the TimeOut for the CLient SDO Re"),
    NAMED(Sync, "Enable SYNC Producer. SYNC Time (ms)"),
    NAMED(SyncHint, "Enable/Disable the Possibility to Enable"),
    NAMED(SyncTimeHint, "Insert the Time Expressed in Millisecond"),
    NAMED(Nodeguard, "Enable Nodeguarding"),
    NAMED(NodeguardHint, "Enable/Disable the Possibility to Enable"),
    NAMED(NodeguardAddress1, "First Modbus Address State Nodeguard"),
    NAMED(NodeguardAddress1Hint, "Insert the First Modbus Register to use "),
    NAMED(NodeguardAddress2, "Second Modbus Address State Nodeguard"),
    NAMED(NodeguardAddress2Hint, "Insert the Second Modbus Register to use"),
    NAMED(ModbusPanel, "Modbus Slave"),
    NAMED(ModbusSerial, "Serial"),
    NAMED(ModbusSerialHint, "Select the Serial to use with Modbus Pro"),
    NAMED(ModbusBaud, "Baudrate"),
    NAMED(ModbusBaudHint, "Select Baudrate to use in serial"),
    NAMED(ModbusParity, "Parity"),
    NAMED(ModbusParityHint, "Select Parity to use in serial"),
    NAMED(ModbusStopBits, "Stop Bits"),
    NAMED(ModbusStopBitsHint, "Select Stop Bits to use in serial, the t"),
    NAMED(ModbusId, "ID Device"),
    NAMED(ModbusIdHint, "Insert the ID Device of Modbus Slave, be"),
    NAMED(ModbusProtocol, "Protocol"),
    NAMED(ModbusProtocolHint, "Select Protocol for Modbus"),
    NAMED(EthernetPanel, "Ethernet"),
    NAMED(EthernetIp, "IP Address"),
    NAMED(EthernetFirstIpByteHint, "Insert First byte of IP Address"),
    NAMED(EthernetMask, "SubNet Mask"),
    NAMED(EthernetFirstMaskByteHint, "Insert First byte of SubNet Mask"),
    NAMED(EthernetGateway, "Gateway"),
    NAMED(EthernetGatewayHint, "Enable/disable the Default Gateway"),
    NAMED(EthernetFirstGatewayByteHint, "Insert First byte of Default Gateway"),
    NAMED(CanopenIdRange, "Error CANopen!! ID Device must be betwee"),
    NAMED(NetworkStartDelayRange, "Error CANopen!! Delay must be between 0 "),
    NAMED(StartOnModbusAddressRange, "Error CANopen!! CANopen Start on Modbus "),
    NAMED(SdoTimeoutRange, "Error CANopen!! SDO Client TimeOut must "),
    NAMED(SyncTimeRange, "Error CANopen!! SYNC Time must be betwee"),
    NAMED(NodeguardAddress1Range, "Error CANopen!! Nodeguard First Modbus R"),
    NAMED(NodeguardAddress2Range, "Error CANopen!! Nodeguard Second Modbus "),
    NAMED(ModbusIdRange, "Error Modbus Slave!! ID Device must be b"),
    NAMED(IpByte1Range, "Error Ethernet!! IP Address 1 must be be"),
    NAMED(IpByte2Range, "Error Ethernet!! IP Address 2 must be be"),
    NAMED(IpByte3Range, "Error Ethernet!! IP Address 3 must be be"),
    NAMED(IpByte4Range, "Error Ethernet!! IP Address 4 must be be"),
    NAMED(MaskByte1Range, "Error Ethernet!! SubNet Mask 1 must be b"),
    NAMED(MaskByte2Range, "Error Ethernet!! SubNet Mask 2 must be b"),
    NAMED(MaskByte3Range, "Error Ethernet!! SubNet Mask 3 must be b"),
    NAMED(MaskByte4Range, "Error Ethernet!! SubNet Mask 4 must be b"),
    NAMED(GatewayByte1Range, "Error Ethernet!! GATEWAY IP 1 must be be"),
    NAMED(GatewayByte2Range, "Error Ethernet!! GATEWAY IP 2 must be be"),
    NAMED(GatewayByte3Range, "Error Ethernet!! GATEWAY IP 3 must be be"),
    NAMED(GatewayByte4Range, "Error Ethernet!! GATEWAY IP 4 must be be"),
    NAMED(ExitWithoutSaving, "Do you want to exit without saving chang"),
    NAMED(ModbusInactivity, "Enable Modbus Inactivity TimeOut"),
    NAMED(ModbusInactivityHint, "Enable/disable the Modbus Inactivity Tim"),
    NAMED(ModbusInactivityTimeoutHint, "Insert the Modbus Inactivity TimeOut exp"),
    NAMED(ModbusInactivityTimeoutRange, "Error Modbus Slave!! Inactivity TimeOut "),
    NAMED(SdoFirst, "SDO Client Access"),
    NAMED(SdoAddressRange, "!! Address must be between 0 and 65535"),
    NAMED(SdoAddressUsed, "!! Address is already used"),
    NAMED(SdoHiByteRange, "!! Hi Byte must be between 0 and 4"),
    NAMED(SdoLoByteRange, "!! Lo Byte must be between 0 and 4"),
    NAMED(SdoReadWriteBlank, "!! R/W must be or ReadOnly or ReadWrite"),
    NAMED(SdoDeviceIdRange, "!! Device ID must be between 1 and 127"),
    NAMED(SdoIndexRange, "!! Index must be between 0x1000 and 0xFF"),
    NAMED(SdoSubIndexRange, "!! SubIndex must be between 0 and 255"),
    NAMED(SdoNByteChoice, "!! NByte must be 1 or 2 or 4"),
    NAMED(SdoLast, "Are you sure to delete the Row number "),
    NAMED(EmcyFirst, "Emergency Access"),
    NAMED(EmcyDeviceIdRange, "!! Device ID must be between 1 and 127"),
    NAMED(EmcyErrorCodeRange, "!! Error Code must be between 0x0000 and"),
    NAMED(EmcyErrorRegisterRange, "!! Error Register must be between 0x00 a"),
    NAMED(EmcyLast, "Are you sure to delete the Row number "),
    NAMED(EmcyMappingFirst, "Define Emergency Frames"),
    NAMED(ReceivePdoMappingFirst, "Define Receive PDO Frames"),
    NAMED(TransmitPdoMappingFirst, "Define Transmit PDO Frames"),
    NAMED(RpdoFirst, "Receive PDO Access"),
    NAMED(RpdoCobIdRange, "!! Cob-ID must be between 0x181 and 0x57"),
    NAMED(RpdoDimensionRange, "!! Dimension must be between 1 and 8"),
    NAMED(RpdoTimeoutRange, "!! TimeOut must be between 0 and 1000000"),
    NAMED(RpdoLast, "Are you sure to delete the Row number "),
    NAMED(TpdoFirst, "Transmit PDO Access"),
    NAMED(TpdoCobIdRange, "!! Cob-ID must be between 0x181 and 0x57"),
    NAMED(TpdoDimensionRange, "!! Dimension must be between 1 and 8"),
    NAMED(TpdoAddressRange, "!! Adress start must be between 0 and 65"),
    NAMED(TpdoAddressBlockEnd, "!! Adress start plus number registers mu"),
    NAMED(TpdoAddressUsed, "!! Address is already used "),
    NAMED(TpdoTimerRange, "!! Timer must be between 0 and 100000000"),
    NAMED(TpdoLast, "Are you sure to delete the Row number "),
    NAMED(NodeGuardFirst, "Node Guarding Access"),
    NAMED(NodeGuardDeviceIdRange, "!! Device ID must be between 1 and 127"),
    NAMED(NodeGuardGuardTimeRange, "!! Guard Time must be between 1 and 6553"),
    NAMED(NodeGuardLifeTimeFactorRange, "!! Life Time Factor must be between 1 an"),
    NAMED(NodeGuardLast, "Are you sure to delete the Row number "),
    NAMED(PasteRefusedHeading, "These cells keep their value: the pasted"),
    NAMED(PasteRefusedRow, "Row "),
    NAMED(PasteRefusedMore, "Other cells not pasted: "),
    NAMED(DiscardChanges, "Discard the changes?"),
    NAMED(DroppedByteQuestion, "Modify stores None for these bytes, which"),
    NAMED(FillFrame, "Fill Frame..."),
    NAMED(FillFramePrompt, "First Modbus register (Byte 2 / Byte 1 g"),
    NAMED(FillFrameInUse, "Not filled. Registers already in use: "),
    NAMED(SharedRegisterWarning, "These registers are also used by another "),
    NAMED(CheckFoundProblems, "The project check found problems:"),
    NAMED(UpdateAnyway, "Update anyway?"),
    NAMED(UpdaterEnded, "Updater ended (exit code %1)"),
    NAMED(UpdaterStillRunning, "Updater still running after 150"),
    NAMED(UpdaterWaiting, "Waiting for the updater: %1"),
    NAMED(MappingMarkBeyond, "<< beyond the frame"),
    NAMED(MappingMarkMissing, "<< its frame is missing"),
    NAMED(MappingMissingFrame, "Missing frame "),
    NAMED(MappingDropQuestion, "OK drops these entries"),
    NAMED(MappingFrameLabel, "Frame "),
    NAMED(MappingSendOnWrite, "Send on Write"),
    NAMED(VariantSwitched, "The device type changes."),
    NAMED(VariantNeeds, "The new variant needs:"),
    NAMED(VariantHides, "The new variant hides"),
    NAMED(VariantRpdoTimeouts, "Receive PDO time-outs"),
    NAMED(VariantTpdoTriggers, "Transmit triggers"),
    NAMED(VariantTpdoMapping, "The transmit mapping"),
    NAMED(VariantAddressStarts, "Address Start values"),
    NAMED(VariantRows, "rows "),
    NAMED(VariantOfferMapping, "Turn each Address Start block"),
    NAMED(VariantMappingNotFilled, "These frames were not filled:"),
    NAMED(VariantMappingFilled, "Transmit mapping entries written"),
    NAMED(NodeGuardingOff, "Node guarding is off"),
    NAMED(PasteRowsDidNotFit, "Rows that did not fit below the last row"),
    NAMED(AboutWorkspaceBeside, "Workspace beside the program:"),
    NAMED(AboutWorkspaceUserData, "Workspace in your data folder:"),
    NAMED(ReportNotWritten, "The report cannot be written to %1."),
    NAMED(ReportWritten, "Register map written to %1."),
    NAMED(MainReport, "Report"),
    NAMED(SimCaption, "Virtual Converter"),
    NAMED(MainSimulate, "Simulate"),
    NAMED(SimPort, "TCP Port"),
    NAMED(SimStart, "Start"),
    NAMED(SimStop, "Stop"),
    NAMED(SimLoadTrace, "Load Trace"),
    NAMED(SimSaveTrace, "Save Trace"),
    NAMED(SimFirstColumn, "Register"),
    NAMED(SimRead, "read"),
    NAMED(SimWrite, "write"),
    NAMED(SimPortError, "The TCP port cannot be opened"),
    NAMED(SimNoProject, "Error! Open a project first"),
    NAMED(ReportHtmlFilter, "HTML page (*.html)"),
    NAMED(ReportCsvFilter, "CSV table (*.csv)"),
    NAMED(ReportSaveCaption, "Save the Register Map Report"),
    NAMED(UpdaterReportedSuccess, "The updater reported success (exit code %1)"),
    NAMED(UpdaterReportedFailure, "The updater reported a failure (exit code %1)"),
    NAMED(UpdateSerialTitle, "Update Device by Serial"),
    NAMED(UpdateSerialDescription, "Update Device Using the Serial Port"),
    NAMED(UpdateEthernetTitle, "Update Device by Ethernet (UDP)"),
    NAMED(UpdateEthernetDescription, "Update Device Using the Ethernet Port"),
    NAMED(UpdateIpAddress, "Insert the IP Address of Device"),
    NAMED(UpdateComPort, "Select the COM Port for the Update"),
    NAMED(UpdateOptions, "Select Update Options"),
    NAMED(UpdateFirmwareAndConfiguration, "Firmware + Configuration"),
    NAMED(UpdateFirmware, "Firmware"),
    NAMED(UpdateConfiguration, "Configuration"),
    NAMED(UpdateReadBack, "Read Back"),
    NAMED(UpdateCancel, "Cancel"),
    NAMED(UpdateExecute, "Execute Update Firmware"),
    NAMED(UpdateFirstIpByteHint, "Insert first byte of IP Address"),
    NAMED(UpdateComPortHint, "Select the COM Port to use for the Updat"),
    NAMED(UpdateComListHint, "Update COM Ports List"),
    NAMED(UpdateOptionsHint, "Select the operation to do in update"),
    NAMED(UpdateReadBackHint, "Enable or disable the possibility to rea"),
    NAMED(UpdateCancelHint, "Exit without to do the Update"),
    NAMED(UpdateExecuteHint, "Start the update of Device"),
    NAMED(DeviceNotFound, "Device Not Found!"),
    NAMED(CheckIpAddress, "Error!!! Check the Ip Address"),
    NAMED(MainCheckProject, "Check Project"),
    NAMED(MainCheckProjectHint, "Run every project check"),
    NAMED(ProblemsCaption, "Project Problems"),
    NAMED(ProblemsFirstColumn, "Kind"),
    NAMED(ProblemsNone, "The project check found no problems."),
    NAMED(ProblemsHint, "Double-click a line"),
    NAMED(ProblemsClose, "Close"),
    NAMED(ProblemsKindWarning, "warning"),
    NAMED(ProblemsKindError, "error"),
    NAMED(SavedWithNewProblems, "Saved. The project check found new"),
    NAMED(ListGoBack, "Go back"),
    NAMED(CheckFoundWarnings, "The project check found warnings:"),
    NAMED(UpdateProjectIp, "Project IP (%1)"),
    NAMED(UpdateProjectIpHint, "Fill in the IP address"),
    NAMED(ProblemsCheckAgain, "Check Again"),
};

#undef NAMED

const char* builtInText(int index)
{
    for (std::size_t i = 0; i < kDefaultTextCount; ++i)
        if (kDefaultTexts[i].index == index)
            return kDefaultTexts[i].text;
    return nullptr;
}

TEST(TextId, NamesTheBuiltInTexts)
{
    const UiTexts texts;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_GE(c.id, 0);
        ASSERT_LT(c.id, UiTexts::kCount);
        // A number outside the built-in table would show a single blank in every language
        // that does not carry it.
        ASSERT_NE(builtInText(c.id), nullptr) << c.id;
        EXPECT_EQ(texts[c.id].rfind(c.startsWith, 0), 0u) << "text: " << texts[c.id];
    }
}

// The remote-node texts (the object browser, the node's PDO list and the node catalogue), whole,
// in number order: texts that read alike ("OK", "PDO") cannot swap their names unseen.
struct NodeCase {
    int id;
    const char* text;
};

const NodeCase kNodeCases[] = {
    {TextId::NodePickObject, "Pick Object from EDS…"},
    {TextId::NodeBrowserCaption, "Object Browser"},
    {TextId::NodeLabel, "Node"},
    {TextId::NodeAddEds, "Add EDS…"},
    {TextId::NodeRemove, "Remove Node"},
    {TextId::NodeFilter, "Filter"},
    {TextId::NodeColumnIndex, "Index"},
    {TextId::NodeColumnSub, "Sub"},
    {TextId::NodeColumnName, "Name"},
    {TextId::NodeColumnDataType, "Data Type"},
    {TextId::NodeColumnAccess, "Access"},
    {TextId::NodeColumnPdo, "PDO"},
    {TextId::NodeHighWord, "Also the high word"},
    {TextId::NodeOk, "OK"},
    {TextId::NodeCancel, "Cancel"},
    {TextId::NodeUnfitText, "A text does not fit an SDO row"},
    {TextId::NodeUnfitDomain, "A DOMAIN does not fit an SDO row"},
    {TextId::NodeUnfitSize, "Only objects of 1, 2 or 4 bytes fit an SDO row"},
    {TextId::NodeIdQuestion, "Node ID of the device this EDS describes (1-127):"},
    {TextId::NodeNoRoomBelow, "Error! No room below this row for the high word"},
    {TextId::NodeNoFreeAddress, "Error! No free Modbus address is left"},
    {TextId::NodeHighWordSuffix, " (high word)"},
    {TextId::NodeFillFromTransmit, "Fill from a Node's Transmit PDO…"},
    {TextId::NodeFillFromReceive, "Fill from a Node's Receive PDO…"},
    {TextId::NodePdoCaption, "Node's PDOs"},
    {TextId::NodePdoColumnPdo, "PDO"},
    {TextId::NodePdoColumnCobId, "Cob-ID"},
    {TextId::NodePdoColumnType, "Type"},
    {TextId::NodePdoColumnBytes, "Bytes"},
    {TextId::NodePdoColumnMapped, "Mapped Objects"},
    {TextId::NodeNoNodeYet, "No node yet: add its EDS with Add EDS…"},
    {TextId::NodeRemoveQuestion, "Remove this node from the project's catalogue? Node "},
    {TextId::NodeYes, "yes"},
    {TextId::NodeNo, "no"},
    {TextId::NodeCatalogueUnreadable, "The node catalogue cannot be read: "},
    {TextId::NodeEdsFileKind, "EDS file"},
    {TextId::NodeEdsUnreadable, "This EDS cannot be read: "},
    {TextId::NodePdoOffMark, "(switched off)"},
    {TextId::NodePdoSwitchedOff, "The node has switched this PDO off: bit 31 of its COB-ID is set."},
    {TextId::NodePdoMapsNothing, "This PDO maps no data: its length is 0."},
    {TextId::NodeFillTimeout, "TimeOut %1 ms: three times the node's event timer of %2 ms."},
    {TextId::NodeFillNoTimeout, "TimeOut 0, no time-out: the node sends this PDO without an event timer."},
    {TextId::NodeFillOnChange,
     "On Change ticked: the node takes each new value as it comes (transmission type %1)."},
    {TextId::NodeFillOnTimer, "On Timer ticked, Timer %1 ms: half the node's event timer of %2 ms."},
    {TextId::NodeFillNoTimer, "On Timer not ticked: the node watches this PDO with no event timer."},
    {TextId::NodeFillChosen, "Filled from the node's EDS:"},
    {TextId::NodeUnfitWriteOnly, "Write-only: an SDO row always reads its object."},
    {TextId::NodeOwnNodeId, "Node %1 is the converter's own node ID. Add this EDS for it anyway?"},
    {TextId::NodeReplaceEds, "Node %1 already has the EDS %2. Replace it with %3?"},
    {TextId::NodeEdsNoObjects, "The file holds no object of an object dictionary."},
};

TEST(TextId, NamesTheNodeTexts)
{
    const UiTexts texts;
    int expectedId = 1440;
    for (const NodeCase& c : kNodeCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.id, expectedId++);
        EXPECT_EQ(texts[c.id], c.text);
    }
    EXPECT_EQ(expectedId, 1490);
}

// Two names for one number mean one of them points at the wrong text.
TEST(TextId, NoTwoNamesShareANumber)
{
    std::map<int, const char*> owner;
    for (const Case& c : kCases) {
        const auto [at, added] = owner.emplace(c.id, c.name);
        EXPECT_TRUE(added) << c.name << " and " << at->second << " both name " << c.id;
    }
    for (const NodeCase& c : kNodeCases) {
        const auto [at, added] = owner.emplace(c.id, c.text);
        EXPECT_TRUE(added) << c.text << " and " << at->second << " both name " << c.id;
    }
}

// The table above covers every name the header declares, so a new name cannot skip the check.
TEST(TextId, EveryNameInTheHeaderIsChecked)
{
    std::ifstream header(SETFORGE_SOURCE_DIR "/src/core/lang/textid.h");
    ASSERT_TRUE(header.good());
    std::stringstream text;
    text << header.rdbuf();
    const std::string source = text.str();

    std::set<std::string> checked;
    for (const Case& c : kCases)
        checked.insert(c.name);
    // The node texts (1440-1489) are checked whole by NamesTheNodeTexts, which runs through the
    // whole block.
    const auto isNodeText = [](int id) { return id >= 1440 && id <= 1489; };
    // A plain scan rather than std::regex, which GCC 12 warns about at -O2 inside its own headers.
    const std::string_view marker = "inline constexpr int ";
    int declared = 0;
    for (std::size_t at = source.find(marker); at != std::string::npos; at = source.find(marker, at + 1)) {
        const std::size_t nameStart = at + marker.size();
        const std::size_t nameEnd = source.find(" = ", nameStart);
        if (nameEnd == std::string::npos)
            break;
        const std::string name = source.substr(nameStart, nameEnd - nameStart);
        const char* value = source.c_str() + nameEnd + 3;
        if (name == "None" || (*value >= '0' && *value <= '9' && isNodeText(std::atoi(value))))
            continue;
        ++declared;
        EXPECT_TRUE(checked.count(name)) << name << " has no case in kCases";
    }
    EXPECT_GT(declared, 0) << "no declaration found; did the header's form change?";
}

TEST(TextId, NoneIsNoText)
{
    EXPECT_TRUE(UiTexts()[TextId::None].empty());
}

} // namespace

} // namespace setforge
