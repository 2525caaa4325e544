deps
