// A project and a preset database from the schema, for the data step and the editor.
#pragma once

#include "common/DbDump.h"
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "platform/RunContext.h"

#include <QTemporaryDir>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace vnt::test {

// A context that counts the quit command and its question, answers the question with
// `quitAnswer`, and records every progress value set.
class QuitContext : public SimpleRunContext {
public:
    int quits = 0, quitQuestions = 0;
    bool quitAnswer = true;
    QList<int> progressValues;
    void mnuBEENDEN_Click() override { ++quits; }
    bool quitConfirmed() override
    {
        ++quitQuestions;
        return quitAnswer;
    }
    void setProgress(int v) override
    {
        progressValues << v;
        SimpleRunContext::setProgress(v);
    }
};

class MultipleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        cnn = makeProjectDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
        cnnV = makePresetDatabase(dir.filePath(QStringLiteral("VORGABE.mdb")));
        ctx.cnn = cnn;
        ctx.cnnV = cnnV;
    }
    QString rows(const QString &sql) const { return dump(cnn, sql); }

    QTemporaryDir dir;
    db::ConnectionPtr cnn, cnnV;
    QuitContext ctx;
    Boxes boxes;
};

} // namespace vnt::test
