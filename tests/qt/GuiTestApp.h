#pragma once
// The one QApplication of a GUI test process (Fusion style: same metrics on
// every machine), and a helper that plays the user in the next modal window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace guitest {

// gtest tears the application down while Qt's globals still live.
class QtEnvironment : public testing::Environment {
public:
    QApplication& Get() {
        if (!app_) app_ = std::make_unique<QApplication>(argc_, argv_);
        return *app_;
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "pv-gui-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline QApplication& App() {
    // gtest takes ownership of environments it is given.
    static auto* environment = static_cast<QtEnvironment*>(
        testing::AddGlobalTestEnvironment(std::make_unique<QtEnvironment>().release()));
    QApplication& app = environment->Get();
    QApplication::setStyle(QStringLiteral("Fusion"));
    return app;
}

// Runs `act` on the next modal widget; call it before a call that blocks in exec().
inline void WhenModal(std::function<void(QWidget*)> act, int attempts = 200) {
    QTimer::singleShot(10, [act = std::move(act), attempts] {
        if (QWidget* modal = QApplication::activeModalWidget()) return act(modal);
        if (attempts > 0) WhenModal(act, attempts - 1);
    });
}

}  // namespace guitest
