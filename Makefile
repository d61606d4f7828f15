# The two commands a newcomer needs: `make run` and `make test`.
# Both install missing Debian packages when run as root, then configure and build.

BUILD ?= build
# The sanitizer build: the whole program and every test under ASan/UBSan with clang, plus the fuzzers.
SANBUILD ?= build-sanitize
FILE ?=
# Where `make install` puts Tamix.
PREFIX ?= /usr/local
PACKAGES := cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libgl-dev qt6-qpa-plugins libsqlite3-dev clang libclang-rt-14-dev \
            xvfb xauth fonts-dejavu-core fonts-liberation2 shared-mime-info desktop-file-utils poppler-utils \
            dpkg-dev appstream xdg-utils libfile-mimeinfo-perl librsvg2-bin xdotool imagemagick

.PHONY: all deps configure build test sanitize run install package clean

all: build

deps:
	@if [ "$$(id -u)" = 0 ]; then \
	  missing=""; \
	  for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	  if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  fi; \
	fi

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600
	$(MAKE) sanitize

# Configured on every run, so that a folder made when this build left out the
# Qt layers (TAMIX_CORE_ONLY) is brought to the whole program.
sanitize: deps
	CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTAMIX_SANITIZE=ON -DTAMIX_FUZZ=ON -DTAMIX_CORE_ONLY=OFF -DTAMIX_BENCH=OFF
	cmake --build $(SANBUILD)
	cd $(SANBUILD) && ctest --output-on-failure -j2 --timeout 900

run: build
	@test -f $(BUILD)/welcome.TM2 || sh shell/welcome/make_welcome.sh $(BUILD)/tools/tamix-tool $(BUILD)/welcome.TM2
	$(BUILD)/shell/tamix $(if $(FILE),"$(FILE)",$(BUILD)/welcome.TM2)

# Also refreshes the prefix's MIME and application caches, which the Debian
# package leaves to the triggers of their packages.
install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if command -v update-mime-database >/dev/null; then update-mime-database "$(PREFIX)/share/mime"; fi
	@if command -v update-desktop-database >/dev/null; then update-desktop-database "$(PREFIX)/share/applications"; fi

# The Debian package tamix_VERSION_ARCH.deb, in $(BUILD).
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SANBUILD)
