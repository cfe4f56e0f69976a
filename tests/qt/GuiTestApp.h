#pragma once
// The one QApplication of a GUI test process (Fusion style: same metrics on
// every machine), and a helper that plays the user in the next modal window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace guitest {

struct QtEnvironment : testing::Environment {
    void TearDown() override { app.reset(); }  // gtest tears down while Qt's globals still live
    int argc = 1;
    char name[12] = "pv-gui-test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};

inline QApplication& App() {
    static auto* env = static_cast<QtEnvironment*>(testing::AddGlobalTestEnvironment(new QtEnvironment));
    if (!env->app) env->app = std::make_unique<QApplication>(env->argc, env->argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    return *env->app;
}

// Runs `act` on the next modal widget; call it before a call that blocks in exec().
inline void WhenModal(std::function<void(QWidget*)> act, int attempts = 200) {
    QTimer::singleShot(10, [act = std::move(act), attempts] {
        if (QWidget* modal = QApplication::activeModalWidget()) return act(modal);
        if (attempts > 0) WhenModal(act, attempts - 1);
    });
}

}  // namespace guitest
