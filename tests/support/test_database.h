#pragma once

#include <QString>

// Database files for tests: each call gives a new copy of a template made once per test
// process, so every test case starts from a fresh file without paying for CREATE DATABASE.
namespace testsupport {

// The folder of this test process's files; removed when the process ends.
QString workDir();
QString freshEmptyDatabase();      // dialect 1, no tables
QString freshSchemaDatabase();     // the program's tables, generators and view, no rows
QString freshDeliveredDatabase();  // as delivered: schema and reference data

} // namespace testsupport
