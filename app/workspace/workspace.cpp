// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/workspace/workspace.h"

#include "app/browse/displaysettings.h"
#include "app/browse/foldertree.h"
#include "app/browse/listeditem.h"
#include "app/browse/listingcolumns.h"
#include "app/browse/valuetexts.h"
#include "app/output/workbook/workbooklauncher.h"

namespace mrb::core
{

Workspace::Workspace(Services services, SettingsLocation settings)
    : m_services(services)
    , m_settings(services.api, services.gen, services.fs, std::move(settings.programFolder), std::move(settings.file))
    , m_sourceListing(m_source,
          m_tree,
          m_status,
          services.fs,
          m_settings.record(),
          services.gen,
          services.api,
          services.ui,
          services.locale)
    , m_adder(m_destination,
          m_source,
          m_tree,
          m_status,
          services.fs,
          m_settings.record(),
          services.ui,
          m_activity,
          services.locale)
    , m_destinationCommands(m_destination,
          m_status,
          services.fs,
          m_settings.record(),
          services.api,
          services.ui,
          m_activity,
          services.locale)
    , m_make {m_destination,
          m_status,
          [this]() -> const SettingsRecord & { return m_settings.record(); },
          services.fs,
          services.api,
          services.ui,
          workbookLauncher(),
          &m_activity}
{
    m_source.setColumns(listingColumns(Listing::Source));
    m_destination.setColumns(listingColumns(Listing::Destination));
    // the status bar counts the folders after every change: kept as rows come
    // and go, never a walk over millions of rows
    m_destination.countTagPrefix(std::string(folderMarker));
}

void Workspace::start()
{
    m_settings.ensureSettings();
    // the destination is empty: nothing to remake, only its columns to set
    m_destination.setStamp(displayStamp(settings()));
    applyDisplaySettings();
    FillDrives(m_tree, m_services.fs);
}

void Workspace::sortByTextOnly()
{
    for (platform::ListModel *listing : {&m_source, &m_destination}) {
        std::vector<platform::ListColumn> columns;
        for (std::size_t c = 1; c <= listing->columnCount(); ++c) {
            columns.push_back(listing->column(c));
            columns.back().sortBy = platform::SortBy::Text;
        }
        listing->setColumns(std::move(columns));
    }
}

void Workspace::applyDisplaySettings()
{
    // the unit and precision may have changed: size texts made from now on
    // (the remade ones below included) are made in the new ones
    for (platform::ListModel *listing : {&m_source, &m_destination})
        makeTextsFromValues(*listing, settings(), m_services.locale);
    ApplyDisplaySettings(m_destination, settings(), m_services.fs, m_services.locale);
}

} // namespace mrb::core
