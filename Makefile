# make: build; make test: the whole suite; make demo: install and uninstall the sample.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all bootstrap configure build test demo clean

all: build

bootstrap:
	@tools/bootstrap.sh

configure: bootstrap
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

demo: build
	@tools/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
