#pragma once

// Registers every object kind built so far with the factory.
void RegisterBuiltInKinds();
