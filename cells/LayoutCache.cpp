#include "cells/LayoutCache.h"

#include "cells/cmcFCache.h"
#include "platform/Fatal.h"

namespace {
cmcFCache* gCache = nullptr;
}

cmcFCache& LayoutCache() {
    if (!gCache) plat::Fatal("No layout cache for the lists.");
    return *gCache;
}

void SetLayoutCache(cmcFCache* cache) {
    gCache = cache;
}

ScopedLayoutCache::ScopedLayoutCache(cmcFCache* cache) : old_(gCache) {
    gCache = cache;
}

ScopedLayoutCache::~ScopedLayoutCache() {
    gCache = old_;
}
