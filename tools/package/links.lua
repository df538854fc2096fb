-- The guide is one page: links to the other Markdown files of docs/ become plain text.
function Link(el)
  if el.target:match("%.md$") or el.target:match("%.md#") then
    return el.content
  end
end
