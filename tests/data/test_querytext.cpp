// The accessor's query texts, character for character: stored habits, logs and the other
// subsystems' expectations depend on every blank.
#include "DataFixture.h"
#include "data/QueryText.h"

namespace vnt::test {
namespace {

struct QueryCase {
    const char *what;
    AccessorState state;
    QString SPV;
    KeyPairs keys;
    QString expected;
};

AccessorState record(const QString &table, const QString &idColumn = QStringLiteral("ID"), int32_t id = 7)
{
    AccessorState s;
    s.ETABELLE = table;
    s.ESPID = idColumn;
    s.ESPIDW = id;
    return s;
}

AccessorState preset(const QString &table, const QString &k1 = {}, const QString &k1w = {})
{
    AccessorState s = record(table, {}, 0);
    s.ESPK1 = k1;
    s.ESPK1W = k1w;
    return s;
}

KeyPairs keys(std::initializer_list<KeyPair> pairs)
{
    KeyPairs k;
    std::copy(pairs.begin(), pairs.end(), k.begin());
    return k;
}

TEST(QueryText, SelectionQueries)
{
    LocaleScope german(QLocale::German);   // fractions must still be written with a point
    AccessorState three = record(QStringLiteral("E3"));
    three.ESPK1 = QStringLiteral("KENT");
    three.ESPK1W = QStringLiteral("A");
    three.ESPK2 = QStringLiteral("KENV");
    three.ESPK2W = QStringLiteral("B");
    three.ESPK3 = QStringLiteral("KENL");
    three.ESPK3W = QStringLiteral("C");
    AccessorState secondOnly = preset(QStringLiteral("VANT_V12"));
    secondOnly.ESPK2 = QStringLiteral("KENV");
    secondOnly.ESPK2W = QStringLiteral("V1");

    const std::vector<QueryCase> cases = {
        {"one key pair", record("A2"), "BRZ", keys({{"I2", 3}}),
         "SELECT [BRZ],[ID],[I2] FROM [A2] WHERE [ID] = 7 AND [I2]=3 ORDER BY [I2]"},
        {"list column", record("E2"), "Z", keys({{"I2", {}}}),
         "SELECT [Z],[ID],[I2] FROM [E2] WHERE [ID] = 7 ORDER BY [I2]"},
        {"no key pair", record("E1"), "KEN", {}, "SELECT [KEN],[ID] FROM [E1] WHERE [ID] = 7"},
        {"no key pair, database order", record("E2"), "Z", {}, "SELECT [Z],[ID] FROM [E2] WHERE [ID] = 7"},
        {"multiple evaluation", record("M3", "IDM", 1), "SDEZ", keys({{"I1", 4}}),
         "SELECT [SDEZ],[IDM],[I1] FROM [M3] WHERE [IDM] = 1 AND [I1]=4 ORDER BY [I1]"},
        {"preset by text key", preset("VANT_V11", "KENT", "R1"), "EKT", {},
         "SELECT [EKT],[KENT] FROM [VANT_V11] WHERE [KENT] ='R1'"},
        {"three pairs, two with values", record("G1"), "W",
         keys({{"IDOBJEKT", 11}, {"KEN", {}}, {"LFDNR", int16_t(2)}}),
         "SELECT [W],[ID],[IDOBJEKT],[KEN],[LFDNR] FROM [G1] WHERE [ID] = 7 AND [IDOBJEKT]=11 AND [LFDNR]=2 "
         "ORDER BY [IDOBJEKT],[KEN],[LFDNR]"},
        {"three fixed keys", three, "X", {},
         "SELECT [X],[ID],[KENT],[KENV],[KENL] FROM [E3] WHERE [ID] = 7 AND [KENT] ='A' AND [KENV] ='B'  AND [KENL] ='C'"},
        {"negative record id", record("A2", "ID", -3), "BRZ", {}, "SELECT [BRZ],[ID] FROM [A2] WHERE [ID] = -3"},
        // No record-id column: the first condition still opens with WHERE.
        {"key pair without record id", preset("VANT_V11"), "EKT", keys({{"IDT", 3}}),
         "SELECT [EKT],[IDT] FROM [VANT_V11] WHERE [IDT]=3 ORDER BY [IDT]"},
        {"second fixed key alone", secondOnly, "EKV", {},
         "SELECT [EKV],[KENV] FROM [VANT_V12] WHERE [KENV] ='V1'"},
        // Texts cannot end the literal early; fractions keep their point under a German locale.
        {"apostrophe in a fixed key", preset("VANT_V11", "KENT", "O'Neil"), "EKT", {},
         "SELECT [EKT],[KENT] FROM [VANT_V11] WHERE [KENT] ='O''Neil'"},
        {"text key value", record("E1"), "KOM", keys({{"KEN", "x' OR '1'='1"}}),
         "SELECT [KOM],[ID],[KEN] FROM [E1] WHERE [ID] = 7 AND [KEN]='x'' OR ''1''=''1' ORDER BY [KEN]"},
        {"fractional key value", record("A2"), "BRZ", keys({{"X", 2.5}}),
         "SELECT [BRZ],[ID],[X] FROM [A2] WHERE [ID] = 7 AND [X]=2.5 ORDER BY [X]"},
    };
    for (const QueryCase &c : cases)
        EXPECT_EQ(selectionQuery(c.state, c.SPV, c.keys), c.expected) << c.what;
}

// A kept text serves every call of its shape and no other: calls that differ in a key's name,
// in how its value stands in the text (bound, a word, only ordering) or in the column each get
// their own, and the values bound are those of the full build.
TEST(QueryText, KeptSelectionTextsMatchTheFullBuild)
{
    AccessorState fixed = record(QStringLiteral("E3"));
    fixed.ESPK1 = QStringLiteral("KENT");
    fixed.ESPK1W = QStringLiteral("A");
    struct Call {
        QString SPV;
        KeyPairs keys;
    };
    const std::vector<Call> calls = {
        {"BRZ", keys({{"I2", int16_t(3)}})},
        {"BRZ", keys({{"I2", int16_t(4)}})},
        {"NTZ", keys({{"I2", int16_t(4)}})},
        {"BRZ", keys({{"I1", int16_t(4)}})},
        {"BRZ", keys({{"I2", {}}})},
        {"BRZ", keys({{"I2", true}})},
        {"BRZ", keys({{"I2", false}})},
        {"BRZ", keys({{"I2", Variant::null()}})},
        {"BRZ", keys({{"I2", 2.5f}})},
        {"BRZ", keys({{"I2", "x'y"}})},
        {"BRZ", keys({{"I2", int16_t(3)}, {"KEN", {}}, {"LFDNR", 7}})},
        {"BRZ", keys({{"I2", int16_t(3)}, {"KEN", "T"}, {"LFDNR", 7}})},
        {"BRZ", keys({{"I2", int16_t(3)}, {}, {"LFDNR", 7}})},
        {"BRZ", keys({{"I2", int16_t(3)}})},
        {"BRZ", {}},
    };
    for (const AccessorState &state : {record(QStringLiteral("A2")), fixed, preset(QStringLiteral("VANT_V11"))}) {
        SelectionShapes shapes;
        for (int round = 0; round < 2; ++round)
            for (size_t i = 0; i < calls.size(); ++i) {
                const SelectionStatement full = selectionStatement(state, calls[i].SPV, calls[i].keys);
                EXPECT_EQ(shapes.text(state, calls[i].SPV, calls[i].keys), full.text) << state.ETABELLE.toStdString() << " call " << i;
                QVarLengthArray<Variant, 8> params;
                selectionParams(state, calls[i].keys, params);
                EXPECT_EQ(std::vector<Variant>(params.begin(), params.end()),
                          std::vector<Variant>(full.params.begin(), full.params.end()))
                    << state.ETABELLE.toStdString() << " call " << i;
            }
    }
}

TEST(QueryText, IndexQueries)
{
    AccessorState fixed = record("G1");
    fixed.ESPK1 = QStringLiteral("KEN");
    fixed.ESPK1W = QStringLiteral("T");
    fixed.ESPK2 = QStringLiteral("KENV");
    fixed.ESPK2W = QStringLiteral("V");

    const std::vector<QueryCase> cases = {
        {"sections of a record", record("E2"), {}, keys({{"I2", {}}}),
         "SELECT [I2] FROM E2 WHERE [ID] = 7 ORDER BY [I2]"},
        {"key condition before the record", record("T"), {}, keys({{"I1", 2}, {"I2", {}}}),
         "SELECT [I2] FROM T WHERE [I1]=2 AND [ID] = 7 ORDER BY [I2]"},
        {"three named", record("G1"), {}, keys({{"IDOBJEKT", 11}, {"KEN", "T"}, {"LFDNR", {}}}),
         "SELECT [LFDNR] FROM G1 WHERE [IDOBJEKT]=11 AND [KEN]='T' AND [ID] = 7 ORDER BY [LFDNR]"},
        {"four named", record("G2"), {}, keys({{"IDOBJEKT", 11}, {"LFDNR", 1}, {"KEN", "P"}, {"PKTNR", {}}}),
         "SELECT [PKTNR] FROM G2 WHERE [IDOBJEKT]=11 AND [LFDNR]=1 AND [KEN]='P' AND [ID] = 7 ORDER BY [PKTNR]"},
        {"preset ids", preset("VANT_V3"), {}, keys({{"IDK", {}}}), "SELECT [IDK] FROM VANT_V3 ORDER BY [IDK]"},
        {"fixed keys", fixed, {}, keys({{"LFDNR", {}}}),
         "SELECT [LFDNR] FROM G1 WHERE [KEN] ='T' AND [KENV]='V' AND [ID] = 7 ORDER BY [LFDNR]"},
        // A gap names no column, so the database refuses the query rather than measure the wrong one.
        {"gap in the naming", record("G1"), {}, keys({{"IDOBJEKT", 11}, {}, {"LFDNR", {}}}),
         "SELECT [] FROM G1 WHERE [ID] = 7 ORDER BY []"},
    };
    for (const QueryCase &c : cases)
        EXPECT_EQ(indexQuery(c.state, c.keys), c.expected) << c.what;
}

} // namespace
} // namespace vnt::test
