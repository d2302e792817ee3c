#include <algorithm>

#include <kelvane/platform/ui_table_view.hpp>

namespace kelvane::platform {

void UITableView::registerNib(std::shared_ptr<UINib> nib, const std::string& identifier) {
    if (nib) {
        nibs_[identifier] = std::move(nib);
    } else {
        nibs_.erase(identifier);
    }
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier, const IndexPath& /*indexPath*/) {
    return dequeueReusableCellWithIdentifier(identifier);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(
    const std::string& identifier) {
    if (auto queue = reuseQueues_.find(identifier);
        queue != reuseQueues_.end() && !queue->second.empty()) {
        auto cell = std::move(queue->second.back());
        queue->second.pop_back();
        cell->prepareForReuse();
        return cell;
    }
    const auto nib = nibs_.find(identifier);
    if (nib == nibs_.end()) {
        return nullptr;
    }
    for (const auto& object : nib->second->instantiateWithOwner(nullptr)) {
        if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(object)) {
            cell->reuseIdentifier_ = identifier;
            return cell;
        }
    }
    return nullptr;
}

void UITableView::reloadData() {
    for (auto& cell : rows_) {
        if (!cell || !cell->reuseIdentifier()) {
            continue;
        }
        auto& queue = reuseQueues_[*cell->reuseIdentifier()];
        // A data source may have given one cell for two rows; it is queued once.
        if (std::find(queue.begin(), queue.end(), cell) == queue.end()) {
            cell->setSelected(false, false);
            queue.push_back(std::move(cell));
        }
    }
    rows_.clear();
    selectedRow_.reset();
    const auto source = dataSource_.lock();
    if (!source) {
        return;
    }
    const std::int64_t count = std::max<std::int64_t>(0, source->numberOfRowsInSection(*this, 0));
    // Built aside, so that a data source that reloads from inside its callbacks finds a
    // consistent table.
    std::vector<std::shared_ptr<UITableViewCell>> rows;
    for (std::int64_t row = 0; row < count; ++row) {
        rows.push_back(source->cellForRowAt(*this, IndexPath{row, 0}));
    }
    rows_ = std::move(rows);
}

std::int64_t UITableView::numberOfRowsInSection(std::int64_t section) const {
    return section == 0 ? static_cast<std::int64_t>(rows_.size()) : 0;
}

bool UITableView::holdsRow(const IndexPath& indexPath) const {
    return indexPath.section == 0 && indexPath.row >= 0 &&
           indexPath.row < static_cast<std::int64_t>(rows_.size());
}

std::shared_ptr<UITableViewCell> UITableView::cellForRowAtIndexPath(
    const IndexPath& indexPath) const {
    return holdsRow(indexPath) ? rows_[static_cast<std::size_t>(indexPath.row)] : nullptr;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    std::copy_if(rows_.begin(), rows_.end(), std::back_inserter(cells),
                 [](const auto& cell) { return cell != nullptr; });
    return cells;
}

void UITableView::selectRowByUser(const IndexPath& indexPath) {
    if (!holdsRow(indexPath)) {
        return;
    }
    selectedRow_ = indexPath;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row]) {
            rows_[row]->setSelected(static_cast<std::int64_t>(row) == indexPath.row, false);
        }
    }
    if (const auto delegate = delegate_.lock()) {
        delegate->didSelectRowAt(*this, indexPath);
    }
}

}  // namespace kelvane::platform
