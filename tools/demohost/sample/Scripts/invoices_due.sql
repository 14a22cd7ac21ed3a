-- Invoices due in the next 14 days (not a favorite yet: try Add Current).
select i.invoice_no,
       c.name  as customer,
       i.amount,
       i.due_date
  from invoices i
  join customers c on c.id = i.customer_id
 where i.paid_date is null
   and i.due_date <= trunc(sysdate) + 14
 order by i.due_date;
