#pragma once

#include <QString>
#include <QVariant>

namespace fb {

class Statement;
class Transaction;

// One attachment to a database. The name is the client's connection string: a local path
// (opened through the embedded engine) or "server:path". Text travels as the stored
// Windows-1250 bytes: the attachment takes the character set the database declares (WIN1250,
// which lets the server convert for clients in other character sets), or none for a database
// that declares none. Neither copied nor moved: datasets and transactions hold its address.
class Connection {
public:
    static constexpr unsigned short dialect = 1;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Attaches; the database's declared character set is read at once (`Now`), or `Later` by
    // the caller's own first query, which then tells it through characterSetDeclared().
    enum class CharacterSetRead { Now, Later };
    void open(const QString& databaseName, const QString& user, const QString& password,
              CharacterSetRead read = CharacterSetRead::Now);
    // The character set the attached database declares, as read by the caller after open(...,
    // Later): a database of an earlier version, which declares none, is attached again
    // without one.
    void characterSetDeclared(const QString& declared);
    // Whether characterSetDeclared(declared) attaches again (the caller ends its transactions
    // first).
    bool attachesAgainFor(const QString& declared) const;
    // The same, read by a query of its own.
    void readDeclaredCharacterSet();
    // The query of the declared character set, for a caller's query that asks more at once.
    static QString declaredCharacterSetSql();
    // The pages of cache asked for by the next open (0: the engine's choice). The engine keeps
    // one cache a database, made by the attachment that opens it.
    void setPageBuffers(int pages) { pageBuffers_ = pages; }
    // Pages of the cache of the open database.
    int pageBuffers();
    // For a database file on this machine, not attached: as many pages as it has and a tenth
    // more, within `limit` bytes; 0 when the engine's default is as large (or the file cannot
    // be read).
    static int pageBuffersFor(const QString& file, qint64 limit);
    // Detaches; a transaction still running on it is rolled back by the server, so callers
    // that want their work kept commit first.
    void close();
    // Lets go of an attachment that is dead (the server went away): detaches as far as the
    // client can and forgets the handle. Never throws.
    void abandon();
    // Deletes the attached database's file (the engine's or the server's own deletion, which a
    // file in use by another attachment refuses) and detaches.
    void drop();
    bool isOpen() const { return handle_ != 0; }
    // Tells this attachment from every other one of the process, earlier or later; 0 while
    // detached. What is prepared on an attachment ends with it, even when the same database
    // is attached again.
    quint64 attachment() const { return attachment_; }
    const QString& databaseName() const { return name_; }
    // "WIN1250", or "NONE" for a database made before the program declared its character set.
    const QString& characterSet() const { return characterSet_; }

    // Creates an empty dialect-1 database declaring Windows-1250 (or, to stand for a database
    // of an earlier version, no character set) and leaves this connection attached to it.
    enum class Declared { Windows1250, Nothing };
    void create(const QString& databaseName, const QString& user, const QString& password,
                int pageSize = 8192, Declared declared = Declared::Windows1250);
    // Runs a statement with no parameters and no result (DDL, a bulk insert), in one request
    // (fb::runOnce).
    void executeImmediate(Transaction& tr, const QString& sql);
    // The next value of a generator (sequence), drawn in the given transaction.
    qint64 nextGeneratorValue(Transaction& tr, const QString& generator);
    // The prepared query behind nextGeneratorValue, for callers that draw many values;
    // drawGeneratorValue runs it.
    Statement generatorQuery(Transaction& tr, const QString& generator);
    static qint64 drawGeneratorValue(Statement& generatorQuery);
    // Sets a generator to a value, so that the next value drawn is value + 1.
    void setGenerator(Transaction& tr, const QString& generator, qint64 value);

    unsigned int* handle() { return &handle_; }

private:
    void attach(const QString& databaseName, const QString& user, const QString& password, const QByteArray& characterSet);
    // The first column of the first row of a query in a transaction of its own (null: no row).
    QVariant firstValue(const QString& sql);

    unsigned int handle_ = 0;
    quint64 attachment_ = 0;
    QString name_;
    QString characterSet_;
    QString user_, password_; // for attaching again without a character set
    int pageBuffers_ = 0;
};

} // namespace fb
