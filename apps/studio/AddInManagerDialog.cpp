#include "AddInManagerDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "AddInRegistry.h"
#include "qt/QtText.h"
#include "vbrt/VbError.h"

namespace studio {

AddInManagerDialog::AddInManagerDialog(AddInRegistry& registry, QWidget* parent)
    : QDialog(parent), registry_(registry), table_(new QTableWidget(registry.Count(), 2, this)) {
    setWindowTitle(tr("Add-In Manager"));
    setObjectName(QStringLiteral("AddInManager"));
    table_->setHorizontalHeaderLabels({tr("Available Add-Ins"), tr("Loaded")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < registry.Count(); ++row) {
        const host::AddIn& record = registry.Record(row);
        auto* name = new QTableWidgetItem(pvqt::ToQt(record.description));
        name->setToolTip(pvqt::ToQt(record.progId));
        table_->setItem(row, 0, name);
        auto* loaded = new QTableWidgetItem;
        loaded->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        loaded->setCheckState(record.connected ? Qt::Checked : Qt::Unchecked);
        table_->setItem(row, 1, loaded);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(420, 240);
}

void AddInManagerDialog::SetLoaded(int row, bool loaded) {
    table_->item(row, 1)->setCheckState(loaded ? Qt::Checked : Qt::Unchecked);
}

void AddInManagerDialog::Apply() {
    bool changed = false;
    for (int row = 0; row < registry_.Count(); ++row) {
        const bool wanted = table_->item(row, 1)->checkState() == Qt::Checked;
        if (wanted == registry_.Record(row).connected) continue;
        changed = true;
        try {
            if (wanted)
                registry_.Connect(row, host::ext_cm_AfterStartup);
            else
                registry_.Disconnect(row, host::ext_dm_UserClosed);
        } catch (const vbrt::VbError& e) {
            QMessageBox::critical(
                this, windowTitle(),
                pvqt::ToQt(e.Description()) + QStringLiteral(" ") + QString::number(e.Number()));
        }
    }
    if (changed) registry_.NotifyAddInsUpdate();
}

}  // namespace studio
