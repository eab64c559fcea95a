#pragma once

#include <QString>

#include "test_database.h"

// Database files of the program for the tests of its own parts.
namespace testsupport {

QString freshSchemaDatabase();    // the program's tables, generators and view, no rows
QString freshDeliveredDatabase(); // as delivered: schema and reference data

} // namespace testsupport
