// A fresh project database and preset database made from the schema in a folder of the test's
// own, a run context that keeps every progress value it is given, and the scripted boxes.
#pragma once

#include "common/DbDump.h"
#include "common/QStringPrint.h"
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "platform/RunContext.h"

#include <QList>
#include <QTemporaryDir>

namespace vnt::test {

class ProgressContext : public SimpleRunContext {
public:
    QList<int> progressValues;
    void setProgress(int v) override
    {
        progressValues << v;
        SimpleRunContext::setProgress(v);
    }
};

// `Context` is the run context the tests see as `ctx`; it knows both databases.
template <class Context>
class ProjectTest : public ::testing::Test {
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
    Context ctx;
    Boxes boxes;
};

} // namespace vnt::test
