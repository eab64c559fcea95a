#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

class QToolButton;

#include "dataset/data_source.h"

namespace dbw {

// The record navigator: ten buttons that move through a dataset and edit it, each enabled
// exactly when its action is possible. Deleting asks first.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static constexpr int buttonCount = 10;

    explicit DBNavigator(QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    ds::DataSource* dataSource() const { return source_; }
    QToolButton* button(Button b) const { return buttons_[b]; }
    void setConfirmDelete(bool on) { confirmDelete_ = on; }
    // Carries out a button's action, as a click does.
    void click(Button b);

signals:
    // After a button's action has been carried out.
    void clicked(dbw::DBNavigator::Button button);

private:
    void updateButtons();
    void tellOtherDeskChanges(ds::Dataset& d);

    QPointer<ds::DataSource> source_;
    std::array<QToolButton*, buttonCount> buttons_{};
    bool confirmDelete_ = true;
};

} // namespace dbw
