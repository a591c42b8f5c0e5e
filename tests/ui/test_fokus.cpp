// The focus a command or dialog took, given back when it ends: the rule the
// main window, the table editor and the help viewer share.
#include "ui/Fokus.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using zw::FokusBereich;
using zw::FokusMerker;

namespace {

class FokusTest : public testing::Test {
public:
    void SetUp() override {
        fenster = std::make_unique<QWidget>();
        auto* lage = new QVBoxLayout(fenster.get());
        gemerkt = new QLineEdit(fenster.get());
        anderes = new QPushButton(QStringLiteral("Anderes"), fenster.get());
        lage->addWidget(gemerkt);
        lage->addWidget(anderes);
        fenster->show();
        fenster->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    }

    std::unique_ptr<QWidget> fenster;
    QLineEdit* gemerkt = nullptr;
    QPushButton* anderes = nullptr;
};

TEST_F(FokusTest, KehrtNurZuEinemBedienbarenSteuerelementZurueck) {
    struct Fall {
        const char* Was;
        std::function<void(FokusTest&)> Vorher;
        bool Zurueck;
    };
    const Fall faelle[] = {
        {"bedienbar", [](FokusTest&) {}, true},
        {"abgeschaltet", [](FokusTest& t) { t.gemerkt->setEnabled(false); }, false},
        {"verborgen", [](FokusTest& t) { t.gemerkt->hide(); }, false},
        {"nimmt keinen Fokus", [](FokusTest& t) { t.gemerkt->setFocusPolicy(Qt::NoFocus); }, false},
        // A modal dialog that is still open disables its owner.
        {"Fenster abgeschaltet", [](FokusTest& t) { t.fenster->setEnabled(false); }, false},
        {"Fenster verborgen", [](FokusTest& t) { t.fenster->hide(); }, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.Was);
        SetUp();
        FokusMerker merker;
        merker.Merken(gemerkt);
        anderes->setFocus();
        f.Vorher(*this);
        merker.Wiederherstellen();
        EXPECT_EQ(fenster->focusWidget() == gemerkt, f.Zurueck);
    }
}

TEST_F(FokusTest, EinGeloeschtesSteuerelementWirdVergessen) {
    FokusMerker merker;
    merker.Merken(gemerkt);
    anderes->setFocus();
    delete gemerkt;
    EXPECT_EQ(merker.Gemerkt(), nullptr);
    merker.Wiederherstellen();
    EXPECT_EQ(fenster->focusWidget(), anderes);
}

TEST_F(FokusTest, DerBereichGibtDenFokusAuchNachEinemFehlerZurueck) {
    FokusMerker merker;
    gemerkt->setFocus();
    EXPECT_THROW(
        {
            const FokusBereich fokus(merker, fenster->focusWidget());
            EXPECT_EQ(merker.Gemerkt(), gemerkt);
            anderes->setFocus();
            throw std::runtime_error("Befehl bricht ab");
        },
        std::runtime_error);
    EXPECT_EQ(fenster->focusWidget(), gemerkt);

    // A later command remembers afresh.
    {
        const FokusBereich fokus(merker, anderes);
        gemerkt->setFocus();
    }
    EXPECT_EQ(fenster->focusWidget(), anderes);
}

} // namespace
