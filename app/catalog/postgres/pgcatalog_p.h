// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalog/catalogstore.h"
#include "app/catalog/postgres/pgconnection.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The PostgreSQL back end's own parts, shared by its reading and writing halves.
namespace mrb::core::postgres
{

// The number of a type description: the same text has the same number on
// every machine, so writers never wait for each other to number one.
std::int64_t typeIdOf(std::string_view text);

class ServerCatalog final : public CatalogStore
{
public:
    explicit ServerCatalog(std::string address);

    Connection &connection() { return m_conn; }
    // The failure the connection reported last, naming the catalog.
    CatalogStatus lastFailure() const;
    CatalogStatus missingSnapshot(std::int64_t id) const;

    const std::string &name() const override { return m_address; }
    std::unique_ptr<SnapshotWriter> beginWriting() override;
    CatalogStatus snapshots(std::vector<SnapshotInfo> &out) override;
    CatalogStatus snapshot(std::int64_t id, SnapshotInfo &out) override;
    CatalogStatus removeSnapshot(std::int64_t id) override;
    CatalogStatus readFolders(std::int64_t snapshot, const std::function<void(const StoredFolder &)> &each) override;
    CatalogStatus readEntries(std::int64_t snapshot,
        std::uint32_t first,
        std::uint32_t last,
        const EntryVisitor &each,
        EntryDetail detail) override;
    CatalogStatus searchCandidates(std::int64_t snapshot, const SearchPlan &plan, const EntryVisitor &each) override;

protected:
    void beginReading() override;
    void endReading() override;

private:
    struct Root {
        std::string path;
        std::int64_t device = 0;
    };
    CatalogStatus rootOf(std::int64_t snapshot, const Root *&out);
    CatalogStatus typeText(std::int64_t id, std::string &out);
    CatalogStatus selectSnapshots(std::optional<std::int64_t> id, std::vector<SnapshotInfo> &out);
    // The entries of a snapshot between two ids that also meet the condition
    // (on e, with parameters from $5), page by page in id order.
    CatalogStatus readWhere(std::int64_t snapshot,
        std::int64_t first,
        std::int64_t last,
        const std::string &condition,
        const std::vector<Parameter> &extra,
        const EntryVisitor &each);

    std::string m_address;
    Connection m_conn;
    int m_readings = 0;
    std::unordered_map<std::int64_t, std::string> m_types;
    std::unordered_map<std::int64_t, Root> m_roots;
};

} // namespace mrb::core::postgres
