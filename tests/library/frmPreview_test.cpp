// The preview window against a real library file: what it shows.
#include "library/frmPreview.h"

#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"

namespace {

class Preview : public librarytest::LibraryDialogTest {
protected:
    // The text the user sees, with the normal pointer.
    std::string Shown(const std::vector<long>& keys) {
        std::string text = "<not shown>";
        When<pv::frmPreview>("frmPreview", [&](pv::frmPreview& d) {
            text = d.txtPreview.Text();
            EXPECT_EQ(ui.GetMousePointer(), forms::vbDefault) << "while shown";
        });
        pv::frmPreview dialog(env);
        dialog.Preview(keys);
        return text;
    }
};

TEST_F(Preview, StoredOrderWithoutAFirstEmptyLine) {
    for (std::string name : {"Four", "Five", "Six", "Seven"})
        daotest::AddProcedure(*file.Open(), {name, "Sub", 2, {"", "Sub " + name + "()", "End Sub"}});
    EXPECT_EQ(pv::PreviewStatement({7, 3}),
              "SELECT * FROM ProcedureLine WHERE ProcedureHeaderID IN (7, 3) ORDER BY ProcedureLineID");
    EXPECT_EQ(Shown({7, 3}), "Sub OpenLog()\r\nEnd Sub\r\n\r\nSub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({7}), "Sub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({2}), "Sub TrimAll()\r\n\r\nEnd Sub\r\n") << "a Null line is an empty line";
    PointAt(file.Path() + ".gone");
    EXPECT_EQ(Shown({1}), "") << "a missing library: told, then an empty window";
    EXPECT_EQ(Said(), "x:@.gone" + librarytest::kNotFound);
}

}  // namespace
