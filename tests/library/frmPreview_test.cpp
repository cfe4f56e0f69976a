// The preview window against a real library file: what it shows.
#include "library/frmPreview.h"

#include <gtest/gtest.h>

#include "LibraryDialogFixture.h"
#include "library/frmAddProcedure.h"
#include "library/frmChangeCategory.h"
#include "library/frmEditCategories.h"
#include "library/frmInput.h"
#include "library/frmOrganizeProcedures.h"

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
    EXPECT_EQ(Shown({7, 3}), "Sub OpenLog()\r\nEnd Sub\r\n\r\nSub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({7}), "Sub Seven()\r\nEnd Sub\r\n");
    EXPECT_EQ(Shown({2}), "Sub TrimAll()\r\n\r\nEnd Sub\r\n") << "a Null line is an empty line";
    PointAt(file.Path() + ".gone");
    EXPECT_EQ(Shown({1}), "") << "a missing library: told, then an empty window";
    EXPECT_EQ(Said(), "x:@.gone" + librarytest::kNotFound);
}

// Enter presses the default button and Esc the cancel button of each library dialog.
TEST_F(Preview, EnterAndEscapeButtonsOfTheLibraryDialogs) {
    pv::frmAddProcedure add(env, "(All)");
    pv::frmChangeCategory change(env);
    pv::frmEditCategories edit(env);
    pv::frmInput input(env);
    pv::frmOrganizeProcedures organize(env);
    pv::frmPreview preview(env);
    std::string got;
    auto name = [](const forms::Control* c) { return c ? c->Name() : std::string(); };
    for (const forms::Form* f :
         std::initializer_list<const forms::Form*>{&add, &change, &edit, &input, &organize, &preview})
        got += f->Name() + ":" + name(f->DefaultButton()) + "/" + name(f->CancelButton()) + " ";
    EXPECT_EQ(got,
              "frmAddProcedure:cmdOK/cmdCancel frmChangeCategory:cmdOK/cmdCancel frmEditCategories:/cmdClose "
              "frmInput:cmdOK/cmdCancel frmOrganizeProcedures:/cmdClose frmPreview:/cmdClose ");
}

}  // namespace
