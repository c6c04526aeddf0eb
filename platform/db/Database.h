#pragma once

// The whole database layer in one include.

#include "platform/db/Connection.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/JetSql.h"
#include "platform/db/Recordset.h"
#include "platform/db/ShapeCommand.h"
#include "platform/db/SqlText.h"
#include "platform/db/Types.h"
