#include "cells/AppManager.h"

AppManager* gAppManager = nullptr;
