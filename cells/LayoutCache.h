#pragma once

class cmcFCache;

// The program's one layout cache, which the main window creates and frees;
// the list converters find it here. Asking for it while none is installed is
// fatal: no list could be read.
cmcFCache& LayoutCache();
void SetLayoutCache(cmcFCache* cache);

// Installs a cache for the lifetime of a scope.
class ScopedLayoutCache {
public:
    explicit ScopedLayoutCache(cmcFCache* cache);
    ~ScopedLayoutCache();
    ScopedLayoutCache(const ScopedLayoutCache&) = delete;
    ScopedLayoutCache& operator=(const ScopedLayoutCache&) = delete;

private:
    cmcFCache* old_;
};
