// Three procvault processes and the Studio store into and remove from one library at
// once; afterwards each side's successes add up and no procedure is left half stored.
#include <sys/wait.h>

#include <QComboBox>
#include <QTimer>
#include <chrono>
#include <regex>
#include <thread>

#include "StudioFixture.h"
#include "library/frmOrganizeProcedures.h"

namespace {

using namespace studiotest;
using Clock = std::chrono::steady_clock;

// A writer's own category and what it was told; a failure must say the library was busy:
// the open refused (3045) or the write lock not had (3218).
struct Side {
    std::string category;
    int stores = 0, removes = 0, busy = 0;
    std::string faults{};  // "[]": a failure no one was told of
    void Tally(bool done, int& count, const std::string& said) {
        if (done) return void(++count);
        const std::regex busyText("currently opened by another user|already in use|currently locked");
        std::regex_search(said, busyText) ? void(++busy) : void(faults += "[" + said + "]");
    }
};

// One process at a time, by turns: a store, or the removal of the first entry its category lists.
void Work(const std::string& program, Clock::time_point end, Side& side) {
    std::string out;
    const auto run = [&](const std::string& args, int* count) {  // the exit status
        out.clear();
        FILE* pipe = popen((program + args + " 2>&1").c_str(), "r");
        for (int c; (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
        const int status = pclose(pipe), rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (count) side.Tally(rc == 0, *count, rc == 1 ? out : "exit " + std::to_string(rc) + ": " + out);
        return rc;
    };
    for (int i = 0; Clock::now() < end; ++i) {
        if (i % 2 == 0)
            run("store Module1.bas ShowTotal --category " + side.category, &side.stores);
        else if (run("list --category " + side.category, nullptr) == 0 && !out.empty())
            run("remove " + out.substr(0, out.find('\t')) + " --yes", &side.removes);
    }
}

void Choose(pvqt::FormDialog& dialog, const std::string& name, const QString& text) {
    auto* box = dialog.Widget<QComboBox>(name);
    emit box->activated(box->findText(text));
}

// The same rounds in the organizer; `shown` gathers the message boxes answered meanwhile.
void StudioRounds(pvqt::FormDialog& organizer, Clock::time_point end, Side& side, QStringList& shown) {
    Choose(organizer, "cboCategory", "Studio");
    auto* list = organizer.Widget<QListWidget>("lstAvailableProcedures");
    const forms::ListBox& entries =
        static_cast<pv::frmOrganizeProcedures&>(organizer.Form()).lstAvailableProcedures;
    for (int i = 0; Clock::now() < end; ++i) {
        InDialog([&](pvqt::FormDialog& add) {  // done when the dialog closed
            Choose(add, "cboModule", "Module1");
            ClickEntry(*add.Widget<QListWidget>("lstProcedures"), "Sub ShowTotal");
            shown.clear();
            Click(add, "cmdOK");
            side.Tally(!add.isVisible(), side.stores, shown.join('\n').toStdString());
            if (add.isVisible()) Click(add, "cmdCancel");
        });
        Click(organizer, "cmdAdd");
        if (i % 2 == 0 || list->count() == 0) continue;
        const long key = entries.ItemData(0);
        if (!list->item(0)->isSelected())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        shown.clear();
        Click(organizer, "cmdRemove");
        shown.removeAll("Are you sure you want to delete the selected procedure?");
        // Done when its key left the list the user sees; only this side writes this category.
        side.Tally(entries.ListCount() == 0 || entries.ItemData(0) != key, side.removes, shown.join('\n').toStdString());
    }
    Click(organizer, "cmdClose");
}

using SharedLibrary = StudioFixture;

TEST_F(SharedLibrary, StudioAndThreeProgramsStoringAndRemovingAtOnceAddUp) {
    std::vector<Side> sides{{"Studio"}, {"W0"}, {"W1"}, {"W2"}};
    for (const Side& side : sides) daotest::AddCategory(*library.Open(), side.category);
    const std::string cli = "cd '" + dir.Path().string() +
                            "' && XDG_CONFIG_HOME=config '" PV_BINARY_DIR
                            "/apps/procvault/procvault' library ";
    const auto end = Clock::now() + std::chrono::seconds(6);
    std::vector<std::thread> workers;
    for (std::size_t k = 1; k < sides.size(); ++k) workers.emplace_back(Work, cli, end, std::ref(sides[k]));
    QStringList shown;
    QTimer answer;  // Yes to the question, OK to anything else
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown << box->text();
        box->button(box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok)->click();
    });
    answer.start(5);
    InDialog([&](pvqt::FormDialog& main) {
        InDialog([&](pvqt::FormDialog& options) {
            options.Widget<QTabWidget>("ctlTab")->setCurrentIndex(1);
            InDialog([&](pvqt::FormDialog& organizer) { StudioRounds(organizer, end, sides[0], shown); });
            Click(options, "cmdProcedures");
            Click(options, "cmdCancel");
        });
        Click(main, "cmdOptions");
        Click(main, "cmdCancel");
    });
    FromContextMenu("&Procvault...");
    for (std::thread& worker : workers) worker.join();
    std::string counts = "Utilities,2|Strings,1|Files,0";  // the sample's, untouched
    for (const Side& side : sides) {
        std::printf("%s: %d stored, %d removed, %d refused as busy\n", side.category.c_str(), side.stores,
                    side.removes, side.busy);
        EXPECT_EQ(side.faults, "") << side.category;
        EXPECT_GT(side.stores, 0) << side.category;
        counts += "|" + side.category + "," + std::to_string(side.stores - side.removes);
    }
    const std::pair<const char*, std::string> checks[] = {
        {"SELECT (SELECT integrity_check FROM pragma_integrity_check), count(*) FROM ProcedureLine WHERE "
         "ProcedureHeaderID NOT IN (SELECT ProcedureHeaderID FROM ProcedureHeader)",
         "ok,0"},
        {"SELECT CategoryDesc, count(ProcedureHeaderID) FROM Category LEFT JOIN ProcedureHeader USING "
         "(CategoryID) GROUP BY CategoryID ORDER BY CategoryID",
         counts},
        // Every copy holds all its lines in order, however the writers' rows interleaved.
        {"SELECT DISTINCT (SELECT group_concat(coalesce(Line, \"\"), \"|\") FROM (SELECT Line FROM "
         "ProcedureLine l WHERE l.ProcedureHeaderID = h.ProcedureHeaderID ORDER BY ProcedureLineID)) FROM "
         "ProcedureHeader h WHERE Name = \"ShowTotal\"",
         "|Public Sub ShowTotal()|    Dim lngTotal As Long|    lngTotal = 1|    MsgBox lngTotal|End Sub"}};
    for (const auto& [sql, expected] : checks)
        EXPECT_EQ(daotest::Flat(*dao::DBEngine().OpenDatabase(library.Path()), sql), expected);
}

}  // namespace
