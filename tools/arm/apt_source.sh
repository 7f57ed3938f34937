#!/usr/bin/env bash
# apt_source.sh <state-dir> <apt-get source arguments...>
#
# Runs `apt-get source` through a private apt configuration kept in
# <state-dir>: its own sources list (deb-src entries for the Debian mirrors
# and suites this machine already installs from), its own package lists and
# download cache. The machine's apt configuration is read, never changed, and
# no root rights are needed. Run from the folder the sources should land in.
set -euo pipefail
state=$(realpath -m "$1"); shift
mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/parts"

# The Debian suites the machine's own apt knows, whatever the format of its
# sources files; other vendors' repositories are left out.
list="$state/sources.list"
apt-get indextargets --format '$(ORIGIN) $(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
  awk '$1 == "Debian" { print "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] " $2 " " $3 " " $4 }' |
  sort -u > "$list.new"
if [ ! -s "$list.new" ]; then
  echo "apt_source.sh: this machine's apt knows no Debian suite to take sources from" >&2
  exit 1
fi

apt_opts=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=$state/parts"
          -o "Dir::State=$state" -o "Dir::State::Lists=$state/lists"
          -o "Dir::Cache=$state/cache" -o "Debug::NoLocking=1")
# As root apt hands downloads to its _apt user, who may not reach a build
# folder inside someone's home; the files are ours anyway.
[ "$(id -u)" -eq 0 ] && apt_opts+=(-o "APT::Sandbox::User=root")

# The lists are fetched again only when the suites changed or a day passed.
if ! cmp -s "$list.new" "$list" || [ -z "$(find "$state/lists" -maxdepth 1 -name '*Sources*' -mtime -1)" ]; then
  mv "$list.new" "$list"
  apt-get "${apt_opts[@]}" -qq update
else
  rm -f "$list.new"
fi
apt-get "${apt_opts[@]}" -qq source "$@"
