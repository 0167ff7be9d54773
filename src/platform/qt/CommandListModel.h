#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QAbstractListModel>

#include "platform/controls/ListBox.h"

namespace pontrel {

// The rows of a list box as Qt's list model. It keeps its own copy of the rows, taken when the
// list's items revision moves on, so the view always sees a consistent set between two resets.
class CommandListModel : public QAbstractListModel {
public:
    explicit CommandListModel(const ListBox& list, QObject* parent = nullptr);

    // Takes over the list's rows when they changed; true when it did.
    bool refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const ListBox& list_;
    std::vector<std::string> rows_;
    std::uint64_t revision_ = 0;
    bool filled_ = false;
};

}  // namespace pontrel
