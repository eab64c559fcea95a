#pragma once

#include <QFrame>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

// The panel in which the user points at the folder of a ledger's data (gb_wyb_kat): the
// machine's drives, or on this system its mounted volumes (nap_kpr), linked to the tree of
// the chosen one's folders (dir_kpr), with "OK" and "Anuluj". Hidden until asked for.
class FolderChooser : public QFrame {
    Q_OBJECT
public:
    explicit FolderChooser(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    // Shows the panel `gap` pixels below `anchor` (kept inside the window), on the folder
    // tree of the drive chosen in the list, the focus on the list.
    void openBelow(QWidget* anchor, int gap);
    QString folder() const;

    QComboBox* nap_kpr;
    QTreeView* dir_kpr;
    QPushButton* kl_kat_wyb;
    QPushButton* kl_kat_anul;

signals:
    void chosen(const QString& folder); // "OK": the panel is hidden
    void cancelled();                   // "Anuluj" or Escape: the panel is hidden

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showDrive();

    QLabel* caption_;
    QFileSystemModel* folders_;
};
