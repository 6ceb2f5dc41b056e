// The rings that mark the selected cell. A pool of marker models (four at the start, growing when all are in
// use, never shrinking) and the live markers: one fading out on a cell that was left while another fades in on the
// new selection; a cell reselected while its ring fades out gets a second ring.
#pragma once

#include "CellSelection.h"
#include "PlayServices.h"

#include "engine/gui/RegisteredModel.h"

#include <memory>
#include <vector>

namespace Wispfold {

class CellLook;

class CellSelectionManager
{
public:
    static constexpr std::uint32_t kInitialMarkers = 4;

    // The marker model outlives the manager.
    CellSelectionManager(const PlayServices& services, const KeystrelEngine::Model& markerSource);
    // Deletes the live markers, then gives back every marker model the registry still holds.
    virtual ~CellSelectionManager() = default;

    CellSelectionManager(const CellSelectionManager&) = delete;
    CellSelectionManager& operator=(const CellSelectionManager&) = delete;

    // A hidden clone drawn late at a fixed depth, blended by its vertex alpha, with the three ranges; it joins the
    // pool and the free stack.
    void CreateMarkerModel();
    // The frame's markers: those of other cells turn inactive, ended ones give their models back, and a selected
    // cell without an active ring gets one (null: nothing selected).
    void Update(const CellLook* selected);

    const std::vector<KeystrelEngine::RegisteredModel>& GetModels() const { return m_models; }
    const std::vector<KeystrelEngine::Model*>& GetFreeModels() const { return m_freeModels; }
    const std::vector<std::unique_ptr<CellSelection>>& GetMarkers() const { return m_markers; }

private:
    PlayServices m_services;
    const KeystrelEngine::Model* m_markerSource;
    std::vector<KeystrelEngine::RegisteredModel> m_models;
    std::vector<KeystrelEngine::Model*> m_freeModels; // a stack: the last is taken first
    std::vector<std::unique_ptr<CellSelection>> m_markers;
};

} // namespace Wispfold
