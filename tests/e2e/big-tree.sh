#!/bin/bash
# Makes or removes the large tree that the scenarios about long snapshots share:
# 800 folders of 1000 empty files each.
# usage: big-tree.sh make|remove FOLDER
set -euo pipefail
source "$(dirname "$0")/lib.sh"
case "$1" in
    make)
        rm -rf "$2"
        make_tree "$2" 800 1000
        ;;
    remove) rm -rf "$2" ;;
esac
