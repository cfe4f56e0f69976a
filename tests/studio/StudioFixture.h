#pragma once
// The Studio's main window with the real add-in loaded, showing the small test
// project, its first module's code window current.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "CodeWindow.h"
#include "MainWindow.h"
#include "TestProject.h"
#include "qt/GuiTestApp.h"

namespace studiotest {

class StudioFixture : public testing::Test {
protected:
    void SetUp() override {
        guitest::App();
        WriteProject(dir);
        window = std::make_unique<studio::MainWindow>(studio::StandardAddIns(),
                                                      QString::fromStdString((dir / "config").string()));
        window->StartAddIns();
        ASSERT_TRUE(window->OpenProject(QString::fromStdString((dir / "Project1.vbp").string())));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::processEvents();  // queued menu rebuilds
        code = window->CurrentCodeWindow();
        ASSERT_NE(code, nullptr);
    }
    void TearDown() override { window.reset(); }
    host::CodeModule& Module() { return code->Component().CodeModule(); }

    testsupport::TempDir dir;
    std::unique_ptr<studio::MainWindow> window;
    studio::CodeWindow* code = nullptr;
};

}  // namespace studiotest
