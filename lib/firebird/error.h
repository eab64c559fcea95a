#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <cstdint>
#include <vector>

namespace fb {

// A failure reported by the database client or server. message() is what the user is shown:
// the server's own text, or what the program says of it instead; then engineText() keeps the
// server's words for the log. context says what we were doing, for logs.
class Error : public std::runtime_error {
public:
    Error(const QString& message, const QString& context = {}, long sqlCode = 0,
          std::vector<long> codes = {}, const QString& engineText = {});

    const QString& message() const { return message_; }
    const QString& engineText() const { return engineText_; }
    const QString& context() const { return context_; }
    long sqlCode() const { return sqlCode_; }
    // The engine's error codes (isc_...), in the order of the status vector.
    const std::vector<long>& codes() const { return codes_; }
    bool hasCode(long code) const;
    // The server went away or the network between us broke: the attachment is dead, and only
    // a new one helps.
    bool isConnectionLost() const;
    // Another transaction holds the row (or the key) this one wanted to change, or changed it
    // meanwhile; the wait for it, if any, ran out. Trying again later may succeed.
    bool isConflict() const;
    // The database cannot go on writing: an I/O error on its file (a full disk, a file too
    // large, a failing disk), a damaged file or the engine's own failure. Every further write
    // would fail alike.
    bool isDatabaseFailure() const;
    // A primary or unique key refused a second row of the same value.
    bool isDuplicateKey() const;
    // The engine no longer knows the prepared statement that was run: prepared again, it may
    // run.
    bool isStatementGone() const;
    // The database file is held by another process (a second program on a local file).
    bool isFileInUse() const;
    // For a refusal by a constraint: its name, and the key's values as the server quotes
    // them ("NR_PODAT" = 7 gives {"7"}); empty otherwise.
    QString constraint() const;
    QStringList keyValues() const;

private:
    QString message_;
    QString engineText_;
    QString context_;
    long sqlCode_;
    std::vector<long> codes_;
};

// Throws Error when the status vector holds an error.
void check(const intptr_t* status, const QString& context);

// Says in the user's words what a refusal of the database means (a duplicate key, a missing
// or present reference), or nothing when it knows no better than the server. The program's
// data layer, which knows its tables, sets it; check() puts its sentence before the server's
// text.
using RefusalExplainer = std::function<QString(const Error&)>;
void setRefusalExplainer(RefusalExplainer explainer);

// Logs a failure that reached the user: a database error under "brenvald.database" with what
// the program was doing (the statement), the SQL code, the engine's codes and words, so that a
// user's report can be diagnosed; any other failure under "brenvald.failure".
void logFailure(const std::exception& failure);

} // namespace fb
