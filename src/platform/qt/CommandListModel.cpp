#include "platform/qt/CommandListModel.h"

namespace pontrel {

CommandListModel::CommandListModel(const ListBox& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {}

bool CommandListModel::refresh() {
    if (filled_ && revision_ == list_.itemsRevision()) {
        return false;
    }
    beginResetModel();
    rows_ = list_.items();
    revision_ = list_.itemsRevision();
    filled_ = true;
    endResetModel();
    return true;
}

int CommandListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant CommandListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return QString::fromStdString(rows_[static_cast<std::size_t>(index.row())]);
}

}  // namespace pontrel
