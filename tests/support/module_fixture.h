#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "data/dm1.h"
#include "desktop/messages.h"
#include "program_database.h"

// The data module the test works on, for the helpers that read and write its database.
extern Tdm_1* dm_1;

namespace testsupport {

// What the data-module and screen tests share: the data module on a fresh copy of the
// delivered database, reachable as the program's one module while the test runs, and every
// message box recorded and answered with `answer` instead of waiting for a user. A test
// class derives from it (or holds one), calls start() in init() and stop() in cleanup().
class ModuleFixture {
public:
    std::unique_ptr<Tdm_1> dm;
    QString path; // the database file
    QList<desktop::Message> shown;
    desktop::Answer answer = desktop::Answer::Yes;

    void start();
    void stop();
    // The texts of the boxes shown so far.
    QStringList shownTexts() const;
};

} // namespace testsupport
