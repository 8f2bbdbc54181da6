"""Pieces of the end-to-end benchmark (bench/end_to_end.py)."""
