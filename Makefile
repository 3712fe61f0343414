# The two commands of the README. Everything else lives in scripts/.
BUILD ?= build

.PHONY: run test build setup

run: build
	scripts/run $(BUILD)

test: build
	scripts/test $(BUILD)

build: setup
	scripts/build $(BUILD)

setup:
	scripts/setup
