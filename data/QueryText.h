// The SQL texts of the column accessor: its selection of a value column and its index
// queries, built from the accessor's state and the key pairs of one call.
#pragma once

#include "platform/Variant.h"
#include <QString>
#include <QVarLengthArray>
#include <array>
#include <cstdint>
#include <vector>

namespace vnt {

// One key pair of a call: a column name (empty when the pair is unused) and a value
// (Empty when the caller gave none: the column then only orders the selection).
struct KeyPair {
    QString name;
    Variant value;
    bool named() const { return !name.isEmpty(); }
    bool restricts() const { return named() && !value.isEmpty(); }
};

using KeyPairs = std::array<KeyPair, 4>;

// What an accessor knows about its table and current record.
struct AccessorState {
    QString ETABELLE = QStringLiteral("E1");
    QString ESPID = QStringLiteral("ID");
    int32_t ESPIDW = 0;
    QString ESPK1, ESPK1W;
    QString ESPK2, ESPK2W;
    QString ESPK3, ESPK3W;
};

// A key value as it stands in a condition. Whole numbers as digits; fractions with a point
// whatever the locale, since the database reads no other notation; texts quoted with their
// apostrophes doubled, so that a value can neither break the query nor widen the selection.
QString sqlKeyValue(const Variant &v);

// The selection of column SPV: record, key pairs and fixed keys, in key order.
QString selectionQuery(const AccessorState &s, const QString &SPV, const KeyPairs &keys);

// The same selection with a "?" for each number and text value, and those values in order:
// what the accessor runs, so that its values are bound rather than written and read back.
struct SelectionStatement {
    QString text;
    QVarLengthArray<Variant, 8> params;
};
SelectionStatement selectionStatement(const AccessorState &s, const QString &SPV, const KeyPairs &keys);

// The values selectionStatement binds, in its order, without building its text.
void selectionParams(const AccessorState &s, const KeyPairs &keys, QVarLengthArray<Variant, 8> &params);

// What of a call decides the selection's text beside the accessor's table and key columns:
// the value column, the key columns named and how each key value stands in the text. Calls
// of one shape differ only in the values they bind, so that the text is built once per shape.
class SelectionShapes {
public:
    // The text of the call's shape, built the first time. Valid until the next call or clear.
    const QString &text(const AccessorState &s, const QString &SPV, const KeyPairs &keys);
    // For a changed table or key column: every text kept may now be wrong.
    void clear() { shapes_.clear(); }

private:
    // How a key value stands in the text: not named, named only to order, a "?" or a word.
    enum class Form : uint8_t { Unnamed, OrderOnly, Bound, True, False, Null };
    static Form formOf(const KeyPair &k);
    struct Shape {
        QString SPV;
        std::array<QString, 4> names;
        std::array<Form, 4> forms{};
        QString text;
    };
    std::vector<Shape> shapes_;
    size_t next_ = 0;   // the one replaced when the list is full
};

// The one-column query behind INDEX, INDEXL and INDEXV. The last named key column is measured;
// the columns named before it are restricted to their values.
QString indexQuery(const AccessorState &s, const KeyPairs &keys);

} // namespace vnt
