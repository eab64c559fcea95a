#pragma once

#include <QIcon>
#include <QMap>
#include <QObject>

namespace desktop {

// Images kept by slot number, so that actions and buttons refer to a picture by its
// number as the program's windows always did. Unused slots give a null icon.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr);

    void setIcon(int slot, const QIcon& icon);
    QIcon icon(int slot) const;
    bool has(int slot) const;
    // Highest used slot + 1.
    int count() const;

private:
    QMap<int, QIcon> icons_;
};

} // namespace desktop
