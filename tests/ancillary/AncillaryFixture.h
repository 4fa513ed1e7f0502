// A working database for the ancillary-times and additional-costs pages: the active records,
// the recalculation mark of record 0 and the rows of M1, M2 and M3 a test gives; and a page
// loaded from it offscreen, with the pages after it in the chain.
#pragma once

#include "multiple/MultipleFixture.h"
#include "pages/multiple/MultipleRun.h"

#include <memory>

namespace vnt::test {

inline const char *kAncillaryRecords = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1), (2, 'B', 1);
INSERT INTO A1 (ID, BONEU) VALUES (0, 1);
INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 3');
)";

class AncillaryTest : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        ctx.projekt = QStringLiteral("P1");
        ctx.bearbeiter = QStringLiteral("Meier");
        cnn->Execute(QString::fromLatin1(kAncillaryRecords));
    }

    // Runs the test's rows (M2, M3, ...), then loads the page; boxes the test expects during
    // the load are scripted before.
    template <class Page>
    std::unique_ptr<Page> load(const QString &rows = {})
    {
        if (!rows.isEmpty())
            cnn->Execute(rows);
        return std::make_unique<Page>(ctx, run, nullptr);
    }

    std::shared_ptr<MultipleRun> run = std::make_shared<MultipleRun>();
};

} // namespace vnt::test
