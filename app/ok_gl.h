#pragma once

#include <QMainWindow>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class Tdm_1;

namespace desktop {
class BarStyle;
class ImageList;
}

// The program's main window: the menu, the tool bar and the right-click menu from which
// every part of the program is started. Closing it ends the program.
class Tf_ok_gl : public QMainWindow {
    Q_OBJECT
public:
    explicit Tf_ok_gl(Tdm_1& dm, QWidget* parent = nullptr);
    ~Tf_ok_gl() override;

    // Pictures of the actions by slot: 0 import, 1 end of work, 4 help, 5 e-mail, 6 web page.
    desktop::ImageList* obr_gl;
    // Owns every action below.
    QObject* AM_gl;

    QAction* a_pod;
    QAction* a_pod_kp;
    QAction* a_sam;
    QAction* a_koniec;
    QAction* a_pal;
    QAction* a_sil;
    QAction* a_opl;
    QAction* a_par;
    QAction* a_akt_opl;
    QAction* A_serw_op;
    QAction* a_kopia; // backup of the open database
    QAction* a_odtw;  // a backup made into a new database
    QAction* a_zak;
    QAction* a_zak_kpr;
    QAction* a_zak_ksef;
    QAction* a_rozl;
    QAction* a_zest_opl; // the office overview: every taxpayer's fee at a glance
    QAction* a_pomoc;
    QAction* a_opr;
    QAction* a_strwww;
    QAction* a_email;

    QMenuBar* menu_gl;
    QToolBar* ToolBar1;
    QMenu* pop_gl;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showDatabaseInCaption();
    QAction* makeAction(const char* name, const QString& caption, const QString& category,
                        const QString& hint = {}, int image = -1);
    void createImages();
    void createActions();
    void createMenu();
    void createToolBar();
    void createPopup();
    void connectActions();
    // True with a database connected; otherwise says where to set one and gives false.
    bool databaseConnected();

    Tdm_1& dm_; // the data module the screens are opened on
    // The look of the menu bar and the tool buttons; see desktop::BarStyle.
    desktop::BarStyle* barStyle_;
};

extern Tf_ok_gl* f_ok_gl;
