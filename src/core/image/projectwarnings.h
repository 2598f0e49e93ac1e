#pragma once

#include <string>
#include <vector>

#include "core/base/projectfiles.h"
#include "core/tables/projectdocuments.h"

// Project warnings: values the dialogs accept but that very likely do not do what was meant.
// Each function reads the files present (a missing or unparsable file gives no warning; the
// table checks report those; an unreadable ParGen.xml silences the warnings that need the
// device type) and returns one line per finding, naming its file and row, with what to do.

namespace setforge {

// SDO rows whose Hi Byte or Lo Byte lies above the row's NByte, and rows that fill neither
// half of their register (Hi Byte and Lo Byte both 0).
std::vector<std::string> sdoByteWarnings(ProjectDocuments& docs);

// Receive PDO, transmit PDO and emergency mapping entries whose byte selector fills neither
// half of their register.
std::vector<std::string> mappingSelectorWarnings(ProjectDocuments& docs);

// Node-guarding rows while node guarding is off in the communication parameters.
std::vector<std::string> nodeGuardingWarnings(ProjectDocuments& docs);

// Transmit PDOs of the variant with Ethernet port that are sent neither on change nor on timer,
// nor on a Modbus write (a mapping entry of theirs with Send_on_Write).
std::vector<std::string> transmitPdoSendingWarnings(ProjectDocuments& docs);

// Transmit PDOs of a variant with Ethernet port (as the register map reads it) that no
// transmit PDO mapping entry names: they carry no register.
std::vector<std::string> unmappedTransmitPdoWarnings(ProjectDocuments& docs);

// Values kept in a column the project's variant hides but an image still carries: Address
// Start of transmit PDOs with Ethernet port (bank.bin); receive PDO TimeOut and transmit PDO
// On Change / On Timer without it (bank2_ESP32.bin).
std::vector<std::string> hiddenColumnWarnings(ProjectDocuments& docs);

// Project files the variant does not use: Transmit_PDO_Define.xml, when it has rows, on the
// device without Ethernet port (Select_Device_Type 0), whose transmit PDOs send the register
// blocks of Transmit_Pdo.xml instead.
std::vector<std::string> unusedFileWarnings(ProjectDocuments& docs);

// All of the above, in this order.
std::vector<std::string> projectWarnings(ProjectDocuments& docs);
// The same over the files at `files`, each read once.
std::vector<std::string> projectWarnings(const ProjectFiles& files);

} // namespace setforge
