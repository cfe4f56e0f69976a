#pragma once
// Add-Ins > Add-In Manager...: lists the registered add-ins with a "Loaded"
// check box each; OK connects (ext_cm_AfterStartup) the newly checked ones and
// disconnects (ext_dm_UserClosed) the newly cleared ones.
#include <QDialog>

class QTableWidget;

namespace studio {

class AddInRegistry;

class AddInManagerDialog : public QDialog {
    Q_OBJECT
public:
    AddInManagerDialog(AddInRegistry& registry, QWidget* parent = nullptr);
    QTableWidget* Table() const { return table_; }
    // Sets the "Loaded" box of a row, as a click on it does.
    void SetLoaded(int row, bool loaded);
    // Applies the boxes to the registry (what OK does before closing).
    void Apply();

private:
    AddInRegistry& registry_;
    QTableWidget* table_;
};

}  // namespace studio
