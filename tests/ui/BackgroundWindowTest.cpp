// The main window with computations off its thread (every frame counts as large here, and the
// computing thread is held where the test needs it): the compute command, live results after
// edits made while a computation runs, the progress and its "Zrušit".
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>

#include <sstream>
#include <thread>

#include "MainWindowTestSupport.h"
#include "ui/editing/LiveResults.h"

namespace {
std::string Text(TMKPSpace& s) {
    std::ostringstream out;
    s.UlozProjekt(out);
    return out.str();
}

std::string Results(TMKPSpace& s) {
    std::string out;
    for (const TUzel* n : s.Nodes)
        for (TReal x : n->Displacement) out.append(reinterpret_cast<const char*>(&x), 10);
    for (const TPrut* m : s.Members)
        for (const TVector* v : {&m->Sa, &m->Sb})
            for (TReal x : *v) out.append(reinterpret_cast<const char*>(&x), 10);
    return out;
}
} // namespace

class TBackgroundWindowTest : public TMainWindowTest {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsDir.path());
        TMainWindowTest::SetUp();
        Form->Session().SetBackgroundFrom(0);
        Form->Session().SetComputationHook([gate = Gate] {
            while (!*gate) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        Form->OpenProjectFile(QStringLiteral(KORVAN_SOURCE_DIR "/examples/portal-frame.inp"));
    }
    void TearDown() override {
        *Gate = true;
        TMainWindowTest::TearDown();
    }
    // Events until the computation's results are taken (or the time is up).
    void Settle(int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (Form->Session().Computing() && t.elapsed() < ms) QTest::qWait(5);
        QApplication::processEvents();
    }
    void Edit(const std::function<void()>& change) {
        change();
        Form->ModelEdited();
        Space().Prekresli();
    }
    std::string Reference() {
        TMKPSpace r;
        std::istringstream in(Text(Space()));
        r.NactiProjekt(in);
        r.TraceEnabled = false;
        EXPECT_TRUE(PrubeznyVypocet(r).Ok());
        return Results(r);
    }
    QTabBar* Tabs() { return Form->FlatTabControl2(); }

    QTemporaryDir SettingsDir;
    std::shared_ptr<std::atomic<bool>> Gate = std::make_shared<std::atomic<bool>>(true);
};

TEST_F(TBackgroundWindowTest, EditsDuringAComputationAreKeptAndTheLastOneIsShown) {
    Form->SetLiveResults(true);
    Form->sbComputeClick();
    EXPECT_TRUE(Form->Session().Computing());
    Settle();
    ASSERT_TRUE(Space().ResultsValid);
    EXPECT_TRUE(Tabs()->isEnabled());
    Tabs()->setCurrentIndex(3); // M
    EXPECT_TRUE(Sink.Messages.empty());

    // Held for more than half a second: the progress shows, not modal; the window goes on editing.
    *Gate = false;
    const std::size_t steps = Form->History().Steps();
    Edit([&] { Space().Members[1]->Loads.First()->Q1 *= 2; });
    ASSERT_TRUE(Form->Session().Computing());
    EXPECT_FALSE(Space().Members[1]->HasResults() || Space().Nodes[0]->DofW.Reaction != 0)
        << "nothing of the model before the edit";
    QTest::qWait(700);
    ASSERT_NE(Form->ComputationProgress(), nullptr);
    EXPECT_TRUE(Form->ComputationProgress()->isVisible());
    EXPECT_EQ(Form->ComputationProgress()->labelText(), QString::fromUtf8("Výpočet…"));
    EXPECT_NE(Form->ComputationProgress()->windowModality(), Qt::ApplicationModal);
    Edit([&] { Space().Nodes[1]->PridejZatizeni(KLoadForce, nullptr, 7, 30); });
    const std::string edited = Text(Space());
    *Gate = true;
    Settle();
    EXPECT_FALSE(Form->ComputationProgress()->isVisible());
    EXPECT_EQ(Text(Space()), edited);
    ASSERT_TRUE(Space().ResultsValid);
    EXPECT_EQ(Results(Space()), Reference());
    EXPECT_EQ(Tabs()->currentIndex(), 3) << "the chosen result tab stays";
    EXPECT_EQ(Form->History().Steps(), steps + 2);

    // "Zrušit": the model as it is, without results, the tabs back on the model.
    *Gate = false;
    Edit([&] { Space().Members[1]->Loads.First()->Q1 /= 2; });
    const std::string before = Text(Space());
    QTest::qWait(700);
    ASSERT_TRUE(Form->ComputationProgress()->isVisible());
    QPushButton* cancel = Form->ComputationProgress()->findChild<QPushButton*>();
    ASSERT_TRUE(cancel && cancel->text() == QString::fromUtf8("Zrušit"));
    cancel->click();
    EXPECT_FALSE(Form->Session().Computing());
    *Gate = true;
    QTest::qWait(50);
    EXPECT_EQ(Text(Space()), before);
    EXPECT_FALSE(Space().ResultsValid);
    EXPECT_FALSE(Tabs()->isEnabled());
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(Form->InfoText(), QString::fromUtf8("Výpočet zrušen"));
    EXPECT_TRUE(Sink.Messages.empty());
}
