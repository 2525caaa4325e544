new text
