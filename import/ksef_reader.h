#pragma once

#include <QString>

#include "import/ksef_invoice.h"

class QIODevice;

namespace ksef {

// What one document turned out to be.
struct ReadOutcome {
    enum class Kind {
        Invoice,          // an FA(3) or FA(2) invoice, read
        NotAnInvoice,     // XML of another kind (a receipt, another form): `detail` names its root
        UnknownStructure, // a Faktura of another structure: `detail` is its namespace
        Broken,           // not well-formed, or an element the import needs is unreadable
    };
    Kind kind = Kind::Broken;
    Invoice invoice;
    QString detail; // see Kind; for Broken, what is wrong, in Polish
    qint64 line = 0;   // where a Broken document's reading stopped, counted from 1
    qint64 column = 0;
};

// Reads one document as it streams from the device, namespace-aware, keeping only what the
// import needs and passing over the rest unread. The XML is data: a document with a DTD is
// refused before anything in it is expanded or fetched, and entity expansion is bounded.
ReadOutcome readInvoice(QIODevice& device);

} // namespace ksef
