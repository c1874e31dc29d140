// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/catalog/walkhandover.h"

namespace mrb::core
{

WalkEvent &WalkHandOver::next()
{
    if (m_filling && m_used == m_filling->size())
        send(true); // a folder of many files fills batches between two folders
    if (!m_filling) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.empty()) {
            m_batches.emplace_back(batchEvents);
            m_free.push_back(&m_batches.back());
        }
        m_filling = m_free.back();
        m_free.pop_back();
        m_used = 0;
    }
    return (*m_filling)[m_used++];
}

void WalkHandOver::send(bool always)
{
    if (!m_filling || m_used == 0 || (m_used < batchEvents && !always))
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_full.size() < waitingBatches; });
    m_full.push_back({m_filling, m_used});
    m_filling = nullptr;
    m_changed.notify_all();
}

void WalkHandOver::close()
{
    send(true);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool WalkHandOver::receive(std::vector<WalkEvent> *&batch, std::size_t &count)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_full.empty() || m_closed; });
    if (m_full.empty())
        return false;
    batch = m_full.front().events;
    count = m_full.front().count;
    m_full.pop_front();
    m_changed.notify_all();
    return true;
}

void WalkHandOver::giveBack(std::vector<WalkEvent> *batch)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_free.push_back(batch);
}

} // namespace mrb::core
