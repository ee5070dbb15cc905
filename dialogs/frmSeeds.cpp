#include "dialogs/frmSeeds.h"

#include "platform/CommonDialog.h"
#include "seed/SeedFile.h"
#include "seed/SeedWords.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QBoxLayout* layout, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    layout->addWidget(button);
    return button;
}

// What the file holds now: its words, or why it has none to give.
QString wordsOf(const QString& path)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("missing");
    SeedFile file;
    if (!file.read(path))
        return QStringLiteral("unreadable: %1").arg(file.errorString());
    return QLocale().toString(SeedWords(file.takeText()).size());
}

} // namespace

frmSeeds::frmSeeds(QWidget* owner, CommonDialog& dialog) : QDialog(owner), m_dialog(dialog)
{
    setObjectName(QStringLiteral("frmSeeds"));
    setWindowTitle(tr("Manage Seeds"));
    m_lstSeeds = new QTableWidget(0, ColumnCount, this);
    m_lstSeeds->setObjectName(QStringLiteral("lstSeeds"));
    m_lstSeeds->setHorizontalHeaderLabels({tr("Use"), tr("Seed file"), tr("Words"), tr("Weight")});
    m_lstSeeds->horizontalHeader()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    m_lstSeeds->horizontalHeader()->setSectionResizeMode(ActiveColumn,
                                                         QHeaderView::ResizeToContents);
    m_lstSeeds->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstSeeds->verticalHeader()->hide();

    m_chkNoRepeats = new QCheckBox(tr("&No repeats: skip the words the last"), this);
    m_chkNoRepeats->setObjectName(QStringLiteral("chkNoRepeats"));
    m_spnMemory = new QSpinBox(this);
    m_spnMemory->setObjectName(QStringLiteral("spnMemory"));
    m_spnMemory->setRange(1, 1000);
    auto* repeats = new QHBoxLayout;
    repeats->addWidget(m_chkNoRepeats);
    repeats->addWidget(m_spnMemory);
    repeats->addWidget(new QLabel(tr("runs started on"), this));
    repeats->addStretch();

    auto* buttons = new QHBoxLayout;
    m_cmdAddFile = addButton(buttons, "cmdAddFile", tr("Add &File..."));
    m_cmdAddFolder = addButton(buttons, "cmdAddFolder", tr("Add F&older..."));
    m_cmdRemove = addButton(buttons, "cmdRemove", tr("&Remove"));
    buttons->addStretch();
    m_cmdOK = addButton(buttons, "cmdOK", tr("OK"));
    m_cmdCancel = addButton(buttons, "cmdCancel", tr("Cancel"));
    m_cmdOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lstSeeds);
    layout->addLayout(repeats);
    layout->addLayout(buttons);
    resize(640, 360);

    connect(m_cmdAddFile, &QPushButton::clicked, this, &frmSeeds::cmdAddFile_Click);
    connect(m_cmdAddFolder, &QPushButton::clicked, this, &frmSeeds::cmdAddFolder_Click);
    connect(m_cmdRemove, &QPushButton::clicked, this, &frmSeeds::cmdRemove_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSeeds::setLibrary(const SeedLibrary& library)
{
    m_library = library;
    m_lstSeeds->setRowCount(0);
    for (const SeedLibrary::Seed& seed : library.seeds)
        addRow(seed);
    m_chkNoRepeats->setChecked(library.noRepeats);
    m_spnMemory->setValue(library.memory);
}

SeedLibrary frmSeeds::library() const
{
    SeedLibrary library = m_library;
    library.seeds.clear();
    for (int row = 0; row < m_lstSeeds->rowCount(); ++row)
        library.seeds << SeedLibrary::Seed{
            m_lstSeeds->item(row, FileColumn)->data(Qt::UserRole).toString(),
            weightAt(row)->value(),
            m_lstSeeds->item(row, ActiveColumn)->checkState() == Qt::Checked};
    library.noRepeats = m_chkNoRepeats->isChecked();
    library.memory = m_spnMemory->value();
    return library;
}

void frmSeeds::addRow(const SeedLibrary::Seed& seed)
{
    const int row = m_lstSeeds->rowCount();
    m_lstSeeds->insertRow(row);
    auto* active = new QTableWidgetItem;
    active->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    active->setCheckState(seed.active ? Qt::Checked : Qt::Unchecked);
    m_lstSeeds->setItem(row, ActiveColumn, active);
    auto* file = new QTableWidgetItem(QDir::toNativeSeparators(seed.path));
    file->setData(Qt::UserRole, seed.path);
    file->setToolTip(file->text());
    file->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    m_lstSeeds->setItem(row, FileColumn, file);
    auto* words = new QTableWidgetItem(wordsOf(seed.path));
    words->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    m_lstSeeds->setItem(row, WordsColumn, words);
    auto* weight = new QSpinBox;
    weight->setRange(SeedLibrary::minWeight, SeedLibrary::maxWeight);
    weight->setValue(seed.weight);
    m_lstSeeds->setCellWidget(row, WeightColumn, weight);
}

QSpinBox* frmSeeds::weightAt(int row) const
{
    return static_cast<QSpinBox*>(m_lstSeeds->cellWidget(row, WeightColumn));
}

void frmSeeds::addFile(const QString& path)
{
    for (int row = 0; row < m_lstSeeds->rowCount(); ++row)
        if (m_lstSeeds->item(row, FileColumn)->data(Qt::UserRole).toString() == path)
            return;
    addRow({path});
}

void frmSeeds::addFolder(const QString& path)
{
    const QDir folder(path);
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        addFile(folder.filePath(name));
}

void frmSeeds::cmdAddFile_Click()
{
    m_dialog.DialogTitle = tr("Add Seed File");
    m_dialog.CancelError = false;
    m_dialog.Filter = QStringLiteral("All Files (*.txt)|*.txt");
    m_dialog.FileName.clear();
    m_dialog.ShowOpen();
    if (!m_dialog.FileName.isEmpty())
        addFile(m_dialog.FileName);
}

void frmSeeds::cmdAddFolder_Click()
{
    m_dialog.DialogTitle = tr("Add Seed Folder");
    m_dialog.CancelError = false;
    m_dialog.FileName.clear();
    m_dialog.ShowFolder();
    if (!m_dialog.FileName.isEmpty())
        addFolder(m_dialog.FileName);
}

void frmSeeds::cmdRemove_Click()
{
    QList<int> rows;
    for (const QModelIndex& index : m_lstSeeds->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows)
        m_lstSeeds->removeRow(row);
}
