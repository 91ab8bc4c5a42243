#include "dialogs/Settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

enum TGridColumn { colFolder = 0, colSub = 1 };

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TFrmSettings::TFrmSettings(QWidget* parent) : QDialog(parent), FEditor(SystemFolders()) {
    setWindowTitle(QStringLiteral("Settings"));
    CreateControls();
}

TFrmSettings::~TFrmSettings() = default;

void TFrmSettings::CreateControls() {
    cbxUseSkin = Named(new QCheckBox(QStringLiteral("Use skin")), "cbxUseSkin");
    cbxSeparateGroups =
        Named(new QCheckBox(QStringLiteral("Separate groups")), "cbxSeparateGroups");
    cbxBlockDelete =
        Named(new QCheckBox(QStringLiteral("Don't allow delete/move files without comparing")),
              "cbxBlockDelete");

    auto* doubleClick =
        Named(new QGroupBox(QStringLiteral("When double clicking:")), "rgDoubleClick");
    auto* doubleClickLayout = new QHBoxLayout(doubleClick);
    rbOpenInOptiquill = new QRadioButton(QStringLiteral("Open file in Optiquill"));
    rbCopyCell = new QRadioButton(QStringLiteral("Copy cell value to clipboard"));
    doubleClickLayout->addWidget(rbOpenInOptiquill);
    doubleClickLayout->addWidget(rbCopyCell);
    rbOpenInOptiquill->setChecked(true);

    edtIncludeFolder = Named(new QLineEdit, "edtIncludeFolder");
    spbtnFolders = Named(new QToolButton, "spbtnFolders");
    spbtnFolders->setIcon(QFileIconProvider().icon(QAbstractFileIconProvider::Folder));
    spbtnFolders->setToolTip(QStringLiteral("Choose directory"));
    cbSubFolders = Named(new QCheckBox(QStringLiteral("Protect subfolders")), "cbSubFolders");
    cbSubFolders->setChecked(true);

    grdProtectedFolders = Named(new QTableWidget(0, 2), "grdProtectedFolders");
    grdProtectedFolders->setHorizontalHeaderLabels(
        {QStringLiteral("Folder"), QStringLiteral("Sub")});
    grdProtectedFolders->verticalHeader()->hide();
    grdProtectedFolders->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdProtectedFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    grdProtectedFolders->setColumnWidth(colFolder, 235);
    grdProtectedFolders->setColumnWidth(colSub, 30);
    grdProtectedFolders->horizontalHeader()->setSectionResizeMode(colFolder, QHeaderView::Stretch);
    connect(grdProtectedFolders, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!FShowingRows && item->column() == colSub)
            FEditor.SetSubfolders(static_cast<std::size_t>(item->row()),
                                  item->checkState() == Qt::Checked);
    });

    btnAdd = Named(new QPushButton(QStringLiteral("Add")), "btnAdd");
    ttnRemove = Named(new QPushButton(QStringLiteral("Remove")), "ttnRemove");
    for (QPushButton* button : {btnAdd, ttnRemove})
        button->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));

    connect(spbtnFolders, &QToolButton::clicked, this, &TFrmSettings::spbtnFoldersClick);
    connect(btnAdd, &QPushButton::clicked, this, &TFrmSettings::btnAddClick);
    connect(ttnRemove, &QPushButton::clicked, this, &TFrmSettings::ttnRemoveClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(edtIncludeFolder, 1);
    folderRow->addWidget(spbtnFolders);
    auto* gridButtons = new QVBoxLayout;
    gridButtons->addWidget(btnAdd);
    gridButtons->addWidget(ttnRemove);
    gridButtons->addStretch(1);
    auto* protectedFolders = new QGridLayout;
    protectedFolders->addWidget(new QLabel(QStringLiteral("Protected folders:")), 0, 0);
    protectedFolders->addLayout(folderRow, 1, 0);
    protectedFolders->addWidget(cbSubFolders, 1, 1);
    protectedFolders->addWidget(grdProtectedFolders, 2, 0);
    protectedFolders->addLayout(gridButtons, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbxUseSkin);
    layout->addWidget(cbxSeparateGroups);
    layout->addWidget(cbxBlockDelete);
    layout->addWidget(doubleClick);
    layout->addLayout(protectedFolders, 1);
    layout->addWidget(buttons);
}

void TFrmSettings::SetSettings(const TSettings& settings) {
    cbxUseSkin->setChecked(settings.UseSkin);
    cbxBlockDelete->setChecked(settings.BlockDelete);
    cbxSeparateGroups->setChecked(settings.SeparateGroups);
    (settings.CopyOnDblClick ? rbCopyCell : rbOpenInOptiquill)->setChecked(true);
    FillProtectedFolders(settings.ProtectedFolders);
}

void TFrmSettings::ApplyTo(TSettings& settings) const {
    settings.UseSkin = cbxUseSkin->isChecked();
    settings.BlockDelete = cbxBlockDelete->isChecked();
    settings.SeparateGroups = cbxSeparateGroups->isChecked();
    settings.CopyOnDblClick = rbCopyCell->isChecked();
    settings.ProtectedFolders = ReadProtectedFolders();
}

void TFrmSettings::FillProtectedFolders(const TProtectedFolders& folders) {
    FEditor.SetRows(folders);
    ShowRows(-1);
}

TProtectedFolders TFrmSettings::ReadProtectedFolders() const {
    return FEditor.Rows();
}

void TFrmSettings::ShowRows(int currentRow) {
    FShowingRows = true;
    const TProtectedFolders& rows = FEditor.Rows();
    grdProtectedFolders->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        auto* folder = new QTableWidgetItem(FromEngine(rows[row].Path));
        folder->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        auto* sub = new QTableWidgetItem;
        sub->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        sub->setCheckState(rows[row].Subfolders ? Qt::Checked : Qt::Unchecked);
        grdProtectedFolders->setItem(row, colFolder, folder);
        grdProtectedFolders->setItem(row, colSub, sub);
    }
    FShowingRows = false;
    if (currentRow >= 0 && currentRow < static_cast<int>(rows.size()))
        grdProtectedFolders->setCurrentCell(currentRow, colFolder);
}

void TFrmSettings::spbtnFoldersClick() {
    const QString typed = edtIncludeFolder->text();
    const QString start = QFileInfo(typed).isDir() ? typed : QString();
    const QString chosen =
        UserPrompts().ExistingFolder(this, QStringLiteral("Choose directory"), start);
    if (!chosen.isEmpty())
        edtIncludeFolder->setText(chosen);
}

void TFrmSettings::btnAddClick() {
    const auto result =
        FEditor.Add(ToEngine(edtIncludeFolder->text()), cbSubFolders->isChecked(), [this] {
            return AskYesNo(this, FromEngine(std::string(kReplaceFolderSettingsText)));
        });
    switch (result) {
    case TProtectedFoldersEditor::TAddResult::NoSuchFolder:
        ShowError(this, FromEngine(std::string(kFolderDoesNotExistText)));
        break;
    case TProtectedFoldersEditor::TAddResult::Appended:
    case TProtectedFoldersEditor::TAddResult::Replaced: {
        const auto row = FEditor.Find(
            TProtectedFoldersEditor::NormalizeFolder(ToEngine(edtIncludeFolder->text())));
        ShowRows(row ? static_cast<int>(*row) : -1);
        break;
    }
    case TProtectedFoldersEditor::TAddResult::NothingTyped:
    case TProtectedFoldersEditor::TAddResult::Kept:
        break;
    }
}

void TFrmSettings::ttnRemoveClick() {
    const int row = grdProtectedFolders->currentRow();
    if (row < 0)
        return;
    const bool removed = FEditor.Remove(static_cast<std::size_t>(row), [this] {
        return UserPrompts().Message(this, QMessageBox::Question, QStringLiteral("Quorvane"),
                                     FromEngine(std::string(kRemoveSystemFolderText)),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    });
    if (removed)
        ShowRows(std::min(row, static_cast<int>(FEditor.Rows().size()) - 1));
}

} // namespace quorvane
