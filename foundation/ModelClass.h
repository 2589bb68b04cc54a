#pragma once
#include <cstdint>
#include <string>

// The ten models are five radio classes, each as a handheld (indexes 0..4)
// and a mobile (5..9). Everything that differs by model asks these queries
// about the current model (the settings' model type) rather than its index.

// Class number of a model index: 1 LMR, 2 LTR, 3 P25, 4 PMR, 5 PMR-Z; an
// index that names no model counts as LMR.
int ModelClassOf(int32_t index);
int GetModelClass();

bool IsModelLmr();
bool IsModelLtr();
bool IsModelP25();
bool IsModelPmr();
bool IsModelPmrZ();
bool IsModelNotPmrZ();
bool IsModelHandheld();
bool IsModelMobile();

// The part of a text key that names the current model's texts: "Lmr",
// "LmrLtr", "LmrP25", "Pmr", "PmrZ", with "_Mob" after it for a mobile.
std::string ModelKeySuffix();
