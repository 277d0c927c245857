#!/usr/bin/env bash
# Runs a Windows program of the build under Wine (the emulator of the Windows test tiers).
exec wine "$@"
