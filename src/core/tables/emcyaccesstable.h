#pragma once

struct TableDefinition;

// The emergency access table (TFEMCYAccess, emcydef.xml): 100 rows of emergency messages.
const TableDefinition& emcyAccessTable();
