#include "import/folder_chooser.h"

#include <QComboBox>
#include <algorithm>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

FolderChooser::FolderChooser(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("gb_wyb_kat"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette pale = palette();
    pale.setColor(QPalette::Window, QColor(255, 255, 225)); // pale yellow, as a note on the screen
    setPalette(pale);

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("e_wyb_kat"));
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);

    nap_kpr = new QComboBox(this);
    nap_kpr->setObjectName(QStringLiteral("nap_kpr"));
    // The drives of a Windows machine are the mounted volumes here; the home folder first.
    nap_kpr->addItem(QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && nap_kpr->findText(volume.rootPath()) < 0)
            nap_kpr->addItem(volume.rootPath());

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QString());
    dir_kpr = new QTreeView(this);
    dir_kpr->setObjectName(QStringLiteral("dir_kpr"));
    dir_kpr->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        dir_kpr->hideColumn(column);
    dir_kpr->header()->hide();
    dir_kpr->setMinimumSize(320, 220);

    kl_kat_wyb = new QPushButton(QStringLiteral("OK"), this);
    kl_kat_wyb->setObjectName(QStringLiteral("kl_kat_wyb"));
    kl_kat_wyb->setDefault(true);
    kl_kat_anul = new QPushButton(QStringLiteral("Anuluj"), this);
    kl_kat_anul->setObjectName(QStringLiteral("kl_kat_anul"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(kl_kat_wyb);
    buttons->addWidget(kl_kat_anul);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(nap_kpr);
    layout->addWidget(dir_kpr, 1);
    layout->addLayout(buttons);

    connect(nap_kpr, &QComboBox::currentIndexChanged, this, &FolderChooser::showDrive);
    connect(kl_kat_wyb, &QPushButton::clicked, this, [this] {
        hide();
        emit chosen(folder());
    });
    connect(kl_kat_anul, &QPushButton::clicked, this, [this] {
        hide();
        emit cancelled();
    });
    hide();
}

void FolderChooser::setCaption(const QString& caption)
{
    caption_->setText(caption);
}

void FolderChooser::showDrive()
{
    const QModelIndex root = folders_->index(nap_kpr->currentText());
    dir_kpr->setRootIndex(root);
    dir_kpr->setCurrentIndex(root);
}

void FolderChooser::openBelow(QWidget* anchor, int gap)
{
    QWidget* window = parentWidget();
    resize(sizeHint().expandedTo(QSize(380, 320)));
    QPoint at = anchor->mapTo(window, QPoint(0, anchor->height() + gap));
    at.setX(std::max(0, std::min(at.x(), window->width() - width())));
    at.setY(std::max(0, std::min(at.y(), window->height() - height())));
    move(at);
    showDrive();
    show();
    raise();
    nap_kpr->setFocus(Qt::OtherFocusReason);
}

QString FolderChooser::folder() const
{
    const QModelIndex current = dir_kpr->currentIndex();
    return QDir::toNativeSeparators(current.isValid() ? folders_->filePath(current) : nap_kpr->currentText());
}

void FolderChooser::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        kl_kat_anul->click();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        kl_kat_wyb->click();
        return;
    }
    QFrame::keyPressEvent(event);
}
