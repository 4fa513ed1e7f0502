// A project and a preset database from the schema, for the data step and the editor.
#pragma once

#include "common/ProjectFixture.h"

namespace vnt::test {

// A context that counts the quit command and its question, answers the question with
// `quitAnswer`, and records every progress value set.
class QuitContext : public ProgressContext {
public:
    int quits = 0, quitQuestions = 0;
    bool quitAnswer = true;
    void mnuBEENDEN_Click() override { ++quits; }
    bool quitConfirmed() override
    {
        ++quitQuestions;
        return quitAnswer;
    }
};

class MultipleTest : public ProjectTest<QuitContext> {
protected:
    // The project "P1" with the given rows in its database.
    void openProject(const char *sql)
    {
        ctx.projekt = QStringLiteral("P1");
        cnn->Execute(QString::fromLatin1(sql));
    }
};

} // namespace vnt::test
