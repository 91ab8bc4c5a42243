#include "dialogs/SearchOpts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTreeView>
#include <QVBoxLayout>

#include "dialogs/FolderCheckModel.h"
#include "dialogs/ResizableDialog.h"
#include "dialogs/UserPrompts.h"
#include "platform/IniFile.h"
#include "platform/Mounts.h"
#include "platform/TextCompare.h"
#include "reports/Profile.h"

namespace quorvane {
namespace {

const char* const kGroupingItems[] = {"Name/Size", "Name", "Size", "Size/Name", "Size/Name/Date"};
const char* const kCompareItems[] = {"Do not compare", "CRC (Faster, but less accurate)",
                                     "MD4 (Slower and more accurate)",
                                     "MD5 (Slowest but most accurate)"};
const QString kPlainMainCaption = QStringLiteral("Quorvane 2.0");
const QString kChangedMark = QStringLiteral("(changed)");

TFileDialogSpec ProfileDialog(const char* title) {
    return {QString::fromLatin1(title), QStringLiteral("Quorvane profile (*.qvp)"),
            QStringLiteral("qvp")};
}

QPushButton* Button(const char* caption, const char* name) {
    auto* button = new QPushButton(QString::fromLatin1(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

std::vector<std::string> Items(const QListWidget* list) {
    std::vector<std::string> items;
    for (int row = 0; row < list->count(); ++row)
        items.push_back(ToEngine(list->item(row)->text()));
    return items;
}

void ShowItems(QListWidget* list, const std::vector<std::string>& items) {
    list->clear();
    for (const std::string& item : items)
        list->addItem(FromEngine(item));
}

} // namespace

TFrmSearchOptions::TFrmSearchOptions(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Search options"));
    CreateControls();
    Connect();
    MakeResizable(*this);
    resize(558, 437);
}

TFrmSearchOptions::~TFrmSearchOptions() = default;

void TFrmSearchOptions::CreateControls() {
    FFolders =
        new TFolderCheckModel(FolderTreeRootsOfThisMachine(ToEngine(QDir::homePath())), this);
    FSortedFolders = new TFolderSortModel(this);
    FSortedFolders->setSourceModel(FFolders);
    FSortedFolders->sort(0);
    tvFolders = new QTreeView;
    tvFolders->setObjectName(QStringLiteral("tvFolders"));
    tvFolders->setModel(FSortedFolders);
    tvFolders->setHeaderHidden(true);
    tvFolders->setUniformRowHeights(true);
    cbxIncludeSysFolders = new QCheckBox(QStringLiteral("Include system and hidden &folders"));
    cbxIncludeSysFolders->setObjectName(QStringLiteral("cbxIncludeSysFolders"));

    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(new QLabel(QStringLiteral("Select Drives/Folders to search:")));
    folderColumn->addWidget(tvFolders, 1);
    folderColumn->addWidget(cbxIncludeSysFolders);

    // The mask frame: an edit, its "add" button, its list and its "remove" button per side.
    auto* masks = new QGroupBox(QStringLiteral("File types masks"));
    auto* maskLayout = new QGridLayout(masks);
    const auto addMaskSide = [&](int row, const char* label, QLineEdit*& edit, const char* editName,
                                 QPushButton*& add, const char* addCaption, const char* addName,
                                 QListWidget*& list, const char* listName, QPushButton*& remove,
                                 const char* removeCaption, const char* removeName) {
        edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(editName));
        add = Button(addCaption, addName);
        list = new QListWidget;
        list->setObjectName(QString::fromLatin1(listName));
        remove = Button(removeCaption, removeName);
        auto* caption = new QLabel(QString::fromLatin1(label));
        caption->setBuddy(edit);
        maskLayout->addWidget(caption, row, 0, 1, 2);
        maskLayout->addWidget(edit, row + 1, 0);
        maskLayout->addWidget(add, row + 1, 1);
        maskLayout->addWidget(list, row + 2, 0);
        maskLayout->addWidget(remove, row + 2, 1, Qt::AlignTop);
    };
    addMaskSide(0, "Include:", edtIncludeFile, "edtIncludeFile", btnAddIncFiles, "&Add",
                "btnAddIncFiles", lbxIncludeFile, "lbxIncludeFile", btnRemIncFiles, "&Remove",
                "btnRemIncFiles");
    addMaskSide(3, "Exclude:", edtExcludeFile, "edtExcludeFile", btnAddExcFiles, "A&dd",
                "btnAddExcFiles", lbxExcludeFile, "lbxExcludeFile", btnRemExcFiles, "Re&move",
                "btnRemExcFiles");
    cbxIncludeSysFiles = new QCheckBox(QStringLiteral("Include system and hidden fi&les"));
    cbxIncludeSysFiles->setObjectName(QStringLiteral("cbxIncludeSysFiles"));
    maskLayout->addWidget(cbxIncludeSysFiles, 6, 0, 1, 2);

    auto* upper = new QHBoxLayout;
    upper->addLayout(folderColumn, 1);
    upper->addWidget(masks, 1);

    // The bottom panel: grouping, comparison, zero-byte files and the buttons.
    auto* grouping = new QGroupBox(QStringLiteral("Grouping &options"));
    grouping->setObjectName(QStringLiteral("rgGrouping"));
    auto* groupingLayout = new QVBoxLayout(grouping);
    rgGrouping = new QButtonGroup(this);
    for (int order = 0; order < 5; ++order) {
        auto* choice = new QRadioButton(QString::fromLatin1(kGroupingItems[order]));
        rgGrouping->addButton(choice, order);
        groupingLayout->addWidget(choice);
    }
    rgGrouping->button(goNameSize)->setChecked(true);

    cbCompare = new QComboBox;
    cbCompare->setObjectName(QStringLiteral("cbCompare"));
    for (const char* item : kCompareItems)
        cbCompare->addItem(QString::fromLatin1(item));
    auto* compareLabel = new QLabel(QStringLiteral("Content &comparison:"));
    compareLabel->setBuddy(cbCompare);
    cbxShowZeroBytes = new QCheckBox(QStringLiteral("Show &zero byte files"));
    cbxShowZeroBytes->setObjectName(QStringLiteral("cbxShowZeroBytes"));
    auto* options = new QVBoxLayout;
    options->addWidget(compareLabel);
    options->addWidget(cbCompare);
    options->addWidget(cbxShowZeroBytes);
    options->addStretch(1);

    btnStart = Button("&Start", "btnStart");
    btnStart->setDefault(true);
    btnLoad = Button("&Load", "btnLoad");
    btnSave = Button("Sa&ve", "btnSave");
    btnCancel = Button("&Cancel", "btnCancel");
    auto* buttons = new QGridLayout;
    buttons->addWidget(btnStart, 0, 0);
    buttons->addWidget(btnCancel, 0, 1);
    buttons->addWidget(btnLoad, 1, 0);
    buttons->addWidget(btnSave, 1, 1);
    buttons->setRowStretch(2, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(grouping);
    bottom->addLayout(options, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper, 1);
    layout->addLayout(bottom);
}

void TFrmSearchOptions::Connect() {
    for (QCheckBox* box : {cbxIncludeSysFolders, cbxIncludeSysFiles, cbxShowZeroBytes})
        connect(box, &QCheckBox::toggled, this, &TFrmSearchOptions::SetModified);
    connect(rgGrouping, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            SetModified();
    });
    connect(cbCompare, &QComboBox::currentIndexChanged, this, [this] {
        if (!FSettingCompare)
            SetModified();
    });
    connect(FFolders, &TFolderCheckModel::CheckMarkChanged, this, &TFrmSearchOptions::SetModified);
    connect(btnAddIncFiles, &QPushButton::clicked, this,
            [this] { AddMask(edtIncludeFile, lbxIncludeFile); });
    connect(btnAddExcFiles, &QPushButton::clicked, this,
            [this] { AddMask(edtExcludeFile, lbxExcludeFile); });
    connect(btnRemIncFiles, &QPushButton::clicked, this, [this] { RemoveMask(lbxIncludeFile); });
    connect(btnRemExcFiles, &QPushButton::clicked, this, [this] { RemoveMask(lbxExcludeFile); });
    connect(btnStart, &QPushButton::clicked, this, &TFrmSearchOptions::btnStartClick);
    connect(btnLoad, &QPushButton::clicked, this, &TFrmSearchOptions::btnLoadClick);
    connect(btnSave, &QPushButton::clicked, this, &TFrmSearchOptions::btnSaveClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSearchOptions::SetModified() {
    FModified = true;
}

void TFrmSearchOptions::SetCriteria(const SearchCriteria& criteria) {
    FIncludeFolders = criteria.IncludeFolders;
    FExcludeFolders = criteria.ExcludeFolders;
    ShowValues(criteria);
}

void TFrmSearchOptions::ShowValues(const SearchCriteria& criteria) {
    ShowItems(lbxIncludeFile, criteria.IncludeFiles);
    ShowItems(lbxExcludeFile, criteria.ExcludeFiles);
    cbxIncludeSysFolders->setChecked(criteria.IncludeSysFolders);
    cbxIncludeSysFiles->setChecked(criteria.IncludeSysFiles);
    cbxShowZeroBytes->setChecked(criteria.ShowZeroBytes);
    FSettingCompare = true;
    cbCompare->setCurrentIndex(criteria.CompareMode);
    FSettingCompare = false;
    if (QAbstractButton* choice = rgGrouping->button(criteria.GroupOrder))
        choice->setChecked(true);
}

SearchCriteria TFrmSearchOptions::DialogValues() const {
    SearchCriteria criteria;
    criteria.IncludeFolders = FIncludeFolders;
    criteria.ExcludeFolders = FExcludeFolders;
    criteria.IncludeFiles = Items(lbxIncludeFile);
    criteria.ExcludeFiles = Items(lbxExcludeFile);
    criteria.IncludeSysFolders = cbxIncludeSysFolders->isChecked();
    criteria.IncludeSysFiles = cbxIncludeSysFiles->isChecked();
    criteria.ShowZeroBytes = cbxShowZeroBytes->isChecked();
    criteria.CompareMode = static_cast<TCompareMode>(cbCompare->currentIndex());
    criteria.GroupOrder = static_cast<TGroupOrder>(rgGrouping->checkedId());
    return criteria;
}

SearchCriteria TFrmSearchOptions::Criteria() const {
    SearchCriteria criteria = DialogValues();
    if (criteria.IncludeFiles.empty())
        criteria.IncludeFiles = {"*.*"};
    return criteria;
}

void TFrmSearchOptions::CollectFolders() {
    FIncludeFolders.clear();
    FExcludeFolders.clear();
    FFolders->CollectFolders(FIncludeFolders, FExcludeFolders);
}

void TFrmSearchOptions::ApplyFolders() {
    for (const QModelIndex& marked : FFolders->ApplyFolders(FIncludeFolders, FExcludeFolders))
        for (QModelIndex above = marked.parent(); above.isValid(); above = above.parent())
            tvFolders->expand(FSortedFolders->mapFromSource(above));
}

QString TFrmSearchOptions::MainCaption() const {
    return parentWidget() ? parentWidget()->window()->windowTitle() : QString();
}

void TFrmSearchOptions::SetMainCaption(const QString& caption) {
    if (parentWidget())
        parentWidget()->window()->setWindowTitle(caption);
}

void TFrmSearchOptions::SaveProfile(const QString& fileName) {
    WriteProfileFile(ToEngine(fileName), DialogValues());
    SetMainCaption(FromEngine(ProfileCaption(ToEngine(fileName))));
    FModified = false;
}

void TFrmSearchOptions::LoadProfile(const QString& fileName) {
    const TIniFile profile(ToEngine(fileName));
    SearchCriteria loaded = ReadProfile(profile, DialogValues());
    ApplyEmptyListDefaults(loaded, FixedDriveRoots());
    if (const std::string unread =
            UnreadProfileEntriesText(profile.FileName(), UnreadProfileEntries(profile));
        !unread.empty())
        ShowError(this, FromEngine(unread));
    FIncludeFolders = loaded.IncludeFolders;
    FExcludeFolders = loaded.ExcludeFolders;
    ShowValues(loaded);
    SetMainCaption(FromEngine(ProfileCaption(ToEngine(fileName))));
    FModified = false;
    ApplyFolders();
}

void TFrmSearchOptions::AddMask(QLineEdit* edit, QListWidget* list) {
    const QString mask = edit->text();
    if (mask.isEmpty())
        return;
    const std::string text = ToEngine(mask);
    for (int row = 0; row < list->count(); ++row)
        if (SameTextNoCase(ToEngine(list->item(row)->text()), text))
            return;
    list->addItem(mask);
    SetModified();
}

void TFrmSearchOptions::RemoveMask(QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return;
    delete item;
    SetModified();
}

void TFrmSearchOptions::btnStartClick() {
    const QString caption = MainCaption();
    if (FModified && parentWidget() && !caption.contains(kChangedMark) &&
        caption != kPlainMainCaption)
        SetMainCaption(caption + QStringLiteral(" ") + kChangedMark);
    accept();
}

void TFrmSearchOptions::btnLoadClick() {
    const QString fileName = UserPrompts().OpenFileName(this, ProfileDialog("Load profile"));
    if (!fileName.isEmpty())
        LoadProfile(fileName);
}

void TFrmSearchOptions::btnSaveClick() {
    const QString fileName = UserPrompts().SaveFileName(this, ProfileDialog("Save profile"));
    if (fileName.isEmpty())
        return;
    // The file holds exactly what the tree shows, not folders handed in earlier.
    CollectFolders();
    if (QFileInfo::exists(fileName) &&
        AskYesNoCancel(this, QStringLiteral("Profile already exists. Overwrite?")) !=
            QMessageBox::Yes)
        return;
    try {
        SaveProfile(fileName);
    } catch (const TIniWriteError& error) {
        ShowError(this, FromEngine(std::string(kCouldNotSaveProfileText)),
                  QString::fromUtf8(error.what()));
        return;
    }
    emit ProfileSaved(fileName);
}

void TFrmSearchOptions::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FFolders->ClearChecks();
        tvFolders->expand(FSortedFolders->mapFromSource(FFolders->ComputerIndex()));
    }
    QDialog::showEvent(event);
}

void TFrmSearchOptions::done(int result) {
    CollectFolders();
    QDialog::done(result);
}

} // namespace quorvane
