#pragma once

struct TableDefinition;

// The receive PDO table (TFPDOReceive, rpdodef.xml): 64 PDOs; the TimeOut column is shown and
// checked only on the device with Ethernet port.
const TableDefinition& pdoReceiveTable();
