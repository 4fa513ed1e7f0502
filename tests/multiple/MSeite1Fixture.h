// Two evaluated active records and three combinations for the first multiple-evaluation page,
// with the hand-computed sums the page must show (see kProject).
#pragma once

#include "MultipleFixture.h"
#include "drawing/clsGRAFIK.h"
#include "pages/multiple/mdiMSEITE1.h"

#include <QDialog>
#include <memory>

namespace vnt::test {

// Rig T1 costs 10 x FKG 2 = 20 per hour, T2 40; staff KP = 40 x 1.5 = 60 per hour.
// Combination 0 (rock S): A0 (10 m, 5 h gross, 4 h net, crew 2) and B0 (30 m, 10 h, 6 h, crew 3):
//   SDEZ 40, SBRZ 15, SNTZ 10, SBRPH 40, SNTPH 26, gross costs T 300 + P 900, net T 200 + P 600.
// Combination 1 (rock KI): A1 (20 m, 20 h, 10 h, crew 2, rig T2): SDEZ 60, SBRZ 20, SNTZ 10,
//   SBRPH 40, SNTPH 20, gross costs T 800 + P 1200, net T 400 + P 600.
// Combination 2 (rock GR): no section; SDEZ stays 60.
inline const char *kMSeite1Project = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1), (2, 'B', 1), (3, 'C', 0);
INSERT INTO E3 (ID, I2, KENT) VALUES (1, 0, 'T1'), (1, 1, 'T2'), (2, 0, 'T1'), (3, 0, 'T1');
INSERT INTO E4 (ID, I2, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (2, 0, 'S'), (3, 0, 'S');
INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) VALUES (1, 0, 10, 5, 4, 2), (1, 1, 20, 20, 10, 2), (2, 0, 30, 10, 6, 3),
                                                    (3, 0, 500, 1, 1, 1);
INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 3');
INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (1, 2, 'GR');
INSERT INTO A1 (ID, BONEU) VALUES (0, 1);
)";
inline const char *kMSeite1Presets = R"(
INSERT INTO VANT_V11 (IDT, KENT, EKT) VALUES (1, 'T1', 10), (2, 'T2', 20);
INSERT INTO VANT_V2 (IDG, KENG) VALUES (1, 'S'), (2, 'KI'), (3, 'GR');
INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG, FKG, FKP, FZK) VALUES (2, 'K0', 40, 0, 2, 1.5, 1.1);
)";

class MSeite1Test : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        ctx.projekt = QStringLiteral("P1");
        ctx.bearbeiter = QStringLiteral("Meier");
        cnn->Execute(QString::fromLatin1(kMSeite1Project));
        cnnV->Execute(QString::fromLatin1(kMSeite1Presets));
        // Page 1 alone: the pages after it have tests of their own.
        previousFollowing_ = mdiMSEITE1::setFollowingPages(
            [](RunContext &, std::shared_ptr<MultipleRun>, QWidget *) -> MultiplePage * { return nullptr; });
    }
    void TearDown() override
    {
        mdiMSEITE1::setFollowingPages(previousFollowing_);
        MultipleTest::TearDown();
    }
    mdiMSEITE1::FollowingPages previousFollowing_;

    // Loads the page; the combination editor is left with Abbrechen, and `later` adds the
    // boxes expected after it.
    std::unique_ptr<mdiMSEITE1> load(const std::function<void()> &later = {})
    {
        boxes.modal([](QDialog &) { return int(QDialog::Rejected); });
        if (later)
            later();
        return std::make_unique<mdiMSEITE1>(ctx);
    }
};

} // namespace vnt::test
